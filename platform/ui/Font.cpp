#include "platform/ui/Font.h"

#include <QStringList>

namespace pelbrook {

QFont fontNamed(const QString &family, double size)
{
    QFont font;
    // Liberation Sans has Helvetica's metrics, so text fits the same boxes.
    font.setFamilies({family, QStringLiteral("Helvetica"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    // Sizes are a phone's points, drawn here as pixels: below 11 a desktop's or a kiosk's text,
    // Devanagari most of all, is too small to read.
    font.setPixelSize(qMax(MinimumTextSize, qRound(size)));
    return font;
}

} // namespace pelbrook
