#include "platform/ui/Font.h"

#include <QStringList>

namespace pelbrook {

QFont fontNamed(const QString &family, double size)
{
    QFont font;
    // Liberation Sans has Helvetica's metrics, so text fits the same boxes.
    font.setFamilies({family, QStringLiteral("Helvetica"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(qMax(1, qRound(size)));
    return font;
}

} // namespace pelbrook
