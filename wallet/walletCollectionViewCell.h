#pragma once

#include "theme/LogoTileDelegate.h"

namespace pelbrook {

/// Draws a tile of the wallet grid; its logo lies in `walletLogoCell()`.
class walletCollectionViewCell : public LogoTileDelegate
{
    Q_OBJECT
public:
    explicit walletCollectionViewCell(QObject *parent = nullptr);
    /// The logo's rectangle in @p tile.
    static QRect walletLogoCell(const QRect &tile) { return logoRect(tile); }
};

} // namespace pelbrook
