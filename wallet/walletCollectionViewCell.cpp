#include "wallet/walletCollectionViewCell.h"

namespace pelbrook {

walletCollectionViewCell::walletCollectionViewCell(QObject *parent)
    : LogoTileDelegate(parent)
{
    setObjectName(QStringLiteral("walletCollectionViewCell"));
}

} // namespace pelbrook
