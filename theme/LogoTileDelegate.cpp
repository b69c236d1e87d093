#include "theme/LogoTileDelegate.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Style.h"
#include "theme/LogoTileModel.h"

#include <QFontMetricsF>
#include <QPainter>

namespace pelbrook {

namespace {

// The artwork's cards are drawn 130 x 50 points, rounded 8, in these colours; a card drawn
// here for a key without artwork must not stand out among them.
constexpr QSizeF CardSize(130, 50);
constexpr double CardRadius = 8;
const QColor Ink(0x1f, 0x2a, 0x44);
const QColor Accent(0x2f, 0x6f, 0xde);
const QColor Edge(0xc8, 0xc8, 0xc8);
const QColor ChosenFill(0xe8, 0xf0, 0xfd);
// The chosen card's border, in the card's points: the ring goes just inside it.
constexpr double ChosenBorder = 2;

void drawNameCard(QPainter &painter, const QRectF &card, const QString &name, bool chosen)
{
    painter.save();
    painter.translate(card.topLeft());
    painter.scale(card.width() / CardSize.width(), card.height() / CardSize.height());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(chosen ? Accent : Edge, chosen ? ChosenBorder : 1.0));
    painter.setBrush(chosen ? ChosenFill : QColor(Qt::white));
    painter.drawRoundedRect(QRectF(QPointF(1, 1), CardSize - QSizeF(2, 2)), CardRadius, CardRadius);

    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(name.size() > 12 ? 13 : 16);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(chosen ? Accent : Ink);
    // The name may come from the host (a key the library has no name for): one too long to wrap
    // onto the card is cut short, not drawn over its neighbours.
    const QRectF box(6, 0, CardSize.width() - 12, CardSize.height());
    const QFontMetricsF metrics(font);
    const QRectF needed = metrics.boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, name);
    if (needed.width() <= box.width() && needed.height() <= box.height())
        painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, name);
    else
        painter.drawText(box, Qt::AlignCenter, metrics.elidedText(name, Qt::ElideRight, box.width()));
    painter.restore();
}

} // namespace

LogoTileDelegate::LogoTileDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QRect LogoTileDelegate::logoRect(const QRect &tile)
{
    QRect logo(tile.left(), tile.top() + 10, qMin(130, tile.width()), qMin(50, tile.height()));
    if (logo.bottom() > tile.bottom())
        logo.moveBottom(tile.bottom());
    return logo;
}

QRectF LogoTileDelegate::cardRect(const QRect &tile, const QImage &logo)
{
    return aspectFitRect(logo.isNull() ? CardSize : logo.deviceIndependentSize(), QRectF(logoRect(tile)));
}

QImage LogoTileDelegate::logo(const QModelIndex &index, bool chosen)
{
    const QImage normal = index.data(Qt::DecorationRole).value<QImage>();
    if (!chosen || normal.isNull())
        return normal;
    const QImage highlighted = index.data(LogoTileModel::HighlightedImageRole).value<QImage>();
    return highlighted.isNull() ? normal : highlighted;
}

void LogoTileDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool chosen = option.state & QStyle::State_Selected;
    const QImage image = logo(index, chosen);
    const QRectF card = cardRect(option.rect, image);
    painter->save();
    painter->setClipRect(option.rect);
    if (image.isNull()) {
        drawNameCard(*painter, card, index.data(Qt::DisplayRole).toString(), chosen);
    } else {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(card, image);
    }
    // Inside the card's border, so the ring neither covers it nor reaches past the tile.
    if (CheckoutStyle::hasKeyboardFocus(&option)) {
        const double scale = card.height() / CardSize.height();
        const double inset = ChosenBorder * scale;
        drawFocusRing(*painter, card.adjusted(inset, inset, -inset, -inset), qMax(0.0, (CardRadius - ChosenBorder) * scale));
    }
    painter->restore();
}

QSize LogoTileDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return TileSize;
}

} // namespace pelbrook
