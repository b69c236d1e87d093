#pragma once

#include <QStyledItemDelegate>

namespace pelbrook {

/**
 * Draws a row of the bank list as a standard table row, 44 points high: the bank's logo in a
 * square at the left, its name beside it, a thin separator below; the selected row on grey,
 * and the row the keyboard is on outlined while the list has the focus.
 */
class netbankingTableViewCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr char ReuseIdentifier[] = "nbCell";
    static constexpr int RowHeight = 44;

    explicit netbankingTableViewCell(QObject *parent = nullptr);

    /// Where the logo and the name go in a row.
    static QRect imageRect(const QRect &row);
    static QRect textRect(const QRect &row);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace pelbrook
