#pragma once

#include <QImage>
#include <QStyledItemDelegate>

namespace pelbrook {

/**
 * Draws a tile of a logo grid, 140 x 40 points: the key's logo, aspect-fit in the logo's
 * rectangle, and while the tile is chosen its highlighted logo. A key without artwork gets a
 * card drawn as the artwork's own cards are, with the key written on it, so it can be seen and
 * chosen like the others. While the keyboard is on the tile (not after a click or a tap) a
 * focus ring lies just inside the card's border.
 */
class LogoTileDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr QSize TileSize{140, 40};

    explicit LogoTileDelegate(QObject *parent = nullptr);

    /// The logo's rectangle in @p tile: 10 points below its top, 130 x 50, at its left edge,
    /// kept inside the tile (a shorter tile moves it up and cuts it to the tile's height).
    static QRect logoRect(const QRect &tile);
    /// Where the card is drawn in @p tile: @p logo (or, without one, a card of the artwork's
    /// proportions) scaled to fit the logo's rectangle, centred in it.
    static QRectF cardRect(const QRect &tile, const QImage &logo);
    /// The logo @p index shows in its chosen state or not; null when it has no artwork.
    static QImage logo(const QModelIndex &index, bool chosen);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace pelbrook
