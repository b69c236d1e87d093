#include "wallet/walletCollectionViewCell.h"

namespace pelbrook {

walletCollectionViewCell::walletCollectionViewCell(const QRect &frame, QWidget *parent)
    : LogoTileCell(QStringLiteral("walletLogoCell"), frame, parent)
{
    setObjectName(QStringLiteral("walletCollectionViewCell"));
}

} // namespace pelbrook
