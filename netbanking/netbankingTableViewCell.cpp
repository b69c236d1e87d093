#include "netbanking/netbankingTableViewCell.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Style.h"

#include <QPainter>

namespace pelbrook {

netbankingTableViewCell::netbankingTableViewCell(QObject *parent)
    : QStyledItemDelegate(parent)
{
    setObjectName(QStringLiteral("netbankingTableViewCell"));
}

QRect netbankingTableViewCell::imageRect(const QRect &row)
{
    const int side = qMax(0, row.height() - 8);
    return QRect(row.left() + SelectionInset + 7, row.top() + 4, side, side);
}

QRect netbankingTableViewCell::textRect(const QRect &row)
{
    const int left = imageRect(row).right() + 1 + 15;
    return QRect(left, row.top(), qMax(0, row.right() + 1 - left - 15), row.height());
}

void netbankingTableViewCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect row = option.rect;
    painter->save();
    painter->fillRect(row, Qt::white);
    // The chosen row is marked inside the row's content, where its logo and name start and end,
    // not out to the list's edges.
    const QRectF marked = QRectF(row).adjusted(SelectionInset, 1, -SelectionInset, -1);
    if (option.state & QStyle::State_Selected) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0xd9, 0xd9, 0xd9));
        painter->drawRoundedRect(marked, 6, 6);
        painter->setRenderHint(QPainter::Antialiasing, false);
    }

    const QImage logo = index.data(Qt::DecorationRole).value<QImage>();
    if (!logo.isNull()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(aspectFitRect(logo.deviceIndependentSize(), QRectF(imageRect(row))), logo);
    }

    painter->setFont(option.font);
    painter->setPen(Qt::black);
    const QRect text = textRect(row);
    const QString name = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, text.width());
    painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft, name);

    painter->setPen(QPen(QColor(0xc8, 0xc7, 0xcc), 0.5));
    painter->drawLine(QPointF(row.left() + 15, row.bottom() + 0.75), QPointF(row.right() + 1, row.bottom() + 0.75));

    if (CheckoutStyle::hasKeyboardFocus(&option))
        drawFocusRing(*painter, marked, 6);
    painter->restore();
}

QSize netbankingTableViewCell::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    // As wide as the list, however narrow: the list gives each row its own width.
    return QSize(1, RowHeight);
}

} // namespace pelbrook
