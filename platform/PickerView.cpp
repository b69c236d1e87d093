#include "platform/PickerView.h"

namespace pelbrook {

PickerView::PickerView(QWidget *parent)
    : QListWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setStyleSheet(QStringLiteral("QListWidget { background: white; color: black; }"
                                 "QListWidget::item { border: none; }"
                                 "QListWidget::item:selected { background: #e3ecfa; color: black; }"));
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { chooseRow(row(item)); });
}

void PickerView::setDataSource(PickerViewDataSource *dataSource)
{
    m_dataSource = dataSource;
}

void PickerView::reloadAllComponents()
{
    clear();
    m_selectedRow = -1;
    if (!m_dataSource)
        return;
    const int height = m_dataSource->rowHeight(this);
    const int rows = m_dataSource->numberOfRows(this);
    for (int i = 0; i < rows; ++i) {
        const QString title = m_dataSource->titleForRow(this, i);
        auto *item = new QListWidgetItem(this);
        item->setData(Qt::AccessibleTextRole, title);
        item->setSizeHint(QSize(0, height));
        if (QWidget *view = m_dataSource->viewForRow(this, i)) {
            // The row takes the clicks, not the view drawn on it.
            view->setAttribute(Qt::WA_TransparentForMouseEvents);
            setItemWidget(item, view);
        } else {
            item->setText(title);
            item->setTextAlignment(Qt::AlignCenter);
        }
    }
    updateGeometry();
}

void PickerView::chooseRow(int row)
{
    if (row < 0 || row >= count())
        return;
    setCurrentRow(row);
    scrollToItem(item(row));
    m_selectedRow = row;
    if (m_dataSource)
        m_dataSource->didSelectRow(this, row);
}

bool PickerView::handleKey(int key)
{
    if (count() == 0)
        return false;
    const int current = m_selectedRow;
    switch (key) {
    case Qt::Key_Up: chooseRow(qMax(0, current - 1)); return true;
    case Qt::Key_Down: chooseRow(qMin(count() - 1, current + 1)); return true;
    case Qt::Key_Home: chooseRow(0); return true;
    case Qt::Key_End: chooseRow(count() - 1); return true;
    default: return false;
    }
}

void PickerView::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    // A list that does not wrap lays its rows out again only when they change; the row views
    // must still take the new width.
    updateEditorGeometries();
}

QSize PickerView::sizeHint() const
{
    int height = 2 * frameWidth();
    for (int i = 0; i < count(); ++i)
        height += item(i)->sizeHint().height();
    return QSize(240, height);
}

} // namespace pelbrook
