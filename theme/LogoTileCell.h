#pragma once

#include "platform/CollectionView.h"

namespace pelbrook {

class ImageView;

/**
 * A grid tile showing one logo: the image view is pinned 10 points below the tile's top, 130
 * wide and 50 high, aspect-fit, at the tile's left edge. In a tile shorter than 60 points the
 * image view is kept inside the tile (a widget cannot draw outside its parent).
 */
class LogoTileCell : public CollectionViewCell
{
    Q_OBJECT
public:
    LogoTileCell(const QString &imageViewName, const QRect &frame, QWidget *parent = nullptr);

    ImageView *logoImageView() const { return m_imageView; }

    /// Highlights the tile: the image view shows its highlighted image.
    void setHighlighted(bool highlighted) override;

protected:
    /// Places the image view; run once from the constructor.
    void addViews();

private:
    ImageView *m_imageView;
};

} // namespace pelbrook
