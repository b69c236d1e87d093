#include "upi/upiCollectionViewCell.h"

namespace pelbrook {

upiCollectionViewCell::upiCollectionViewCell(const QRect &frame, QWidget *parent)
    : LogoTileCell(QStringLiteral("upiLogoCell"), frame, parent)
{
    setObjectName(QStringLiteral("upiCollectionViewCell"));
}

} // namespace pelbrook
