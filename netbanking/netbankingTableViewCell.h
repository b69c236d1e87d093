#pragma once

#include <QStyledItemDelegate>

namespace pelbrook {

/**
 * Draws a row of the bank list as a standard table row, 44 points high: the bank's logo in a
 * square at the left, its name beside it, a thin separator below; the selected row on a
 * rounded grey inside the row's margins, and the row the keyboard is on outlined there while
 * the list has the focus.
 */
class netbankingTableViewCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr char ReuseIdentifier[] = "nbCell";
    static constexpr int RowHeight = 44;
    /// How far the chosen row's mark stays inside each end of the row.
    static constexpr int SelectionInset = 8;

    explicit netbankingTableViewCell(QObject *parent = nullptr);

    /// Where the logo and the name go in a row.
    static QRect imageRect(const QRect &row);
    static QRect textRect(const QRect &row);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace pelbrook
