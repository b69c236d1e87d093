#pragma once

#include "theme/LogoTileDelegate.h"

namespace pelbrook {

/// Draws a tile of the UPI app grid; its logo lies in `upiLogoCell()`.
class upiCollectionViewCell : public LogoTileDelegate
{
    Q_OBJECT
public:
    explicit upiCollectionViewCell(QObject *parent = nullptr);
    /// The logo's rectangle in @p tile.
    static QRect upiLogoCell(const QRect &tile) { return logoRect(tile); }
};

} // namespace pelbrook
