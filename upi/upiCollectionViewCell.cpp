#include "upi/upiCollectionViewCell.h"

namespace pelbrook {

upiCollectionViewCell::upiCollectionViewCell(QObject *parent)
    : LogoTileDelegate(parent)
{
    setObjectName(QStringLiteral("upiCollectionViewCell"));
}

} // namespace pelbrook
