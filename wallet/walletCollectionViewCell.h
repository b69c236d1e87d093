#pragma once

#include "theme/LogoTileCell.h"

namespace pelbrook {

/// A tile of the wallet grid; its image view is `walletLogoCell`.
class walletCollectionViewCell : public LogoTileCell
{
    Q_OBJECT
public:
    explicit walletCollectionViewCell(const QRect &frame, QWidget *parent = nullptr);
    ImageView *walletLogoCell() const { return logoImageView(); }
};

} // namespace pelbrook
