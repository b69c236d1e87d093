#pragma once

#include "theme/LogoTileCell.h"

namespace pelbrook {

/// A tile of the UPI app grid; its image view is `upiLogoCell`.
class upiCollectionViewCell : public LogoTileCell
{
    Q_OBJECT
public:
    explicit upiCollectionViewCell(const QRect &frame, QWidget *parent = nullptr);
    ImageView *upiLogoCell() const { return logoImageView(); }
};

} // namespace pelbrook
