#include "platform/CollectionView.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QScroller>

#include <cmath>
#include <utility>

namespace pelbrook {

namespace {

// The outline around the item the keyboard is on.
class FocusMark : public QWidget
{
public:
    explicit FocusMark(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("focusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x00, 0x7a, 0xff), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
    }
};

} // namespace

CollectionViewCell::CollectionViewCell(QWidget *parent)
    : QWidget(parent)
{
}

std::optional<QSizeF> CollectionViewDataSource::sizeForItem(CollectionView *, int)
{
    return std::nullopt;
}

CollectionView::CollectionView(QWidget *parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    m_content->setObjectName(QStringLiteral("collectionContent"));
    m_content->setAutoFillBackground(false);
    m_content->installEventFilter(this);
    setWidget(m_content);
    m_focusMark = new FocusMark(m_content);
    // Without a scroll bar, a finger must be able to drag the grid.
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
}

CollectionView::~CollectionView() = default;

void CollectionView::setDataSource(CollectionViewDataSource *dataSource)
{
    m_dataSource = dataSource;
}

void CollectionView::registerCell(const QString &identifier, std::function<CollectionViewCell *(const QRect &)> make)
{
    m_factories.insert(identifier, std::move(make));
}

CollectionViewCell *CollectionView::dequeueReusableCell(const QString &identifier, int)
{
    CollectionViewCell *cell = m_reusable.take(identifier);
    if (!cell) {
        const QRect frame(QPoint(0, 0), m_itemSize.toSize());
        const auto factory = m_factories.constFind(identifier);
        cell = factory != m_factories.cend() ? (*factory)(frame) : new CollectionViewCell;
        m_identifiers.insert(cell, identifier);
    }
    return cell;
}

void CollectionView::reloadData()
{
    for (CollectionViewCell *cell : std::as_const(m_cells)) {
        cell->hide();
        cell->m_selected = false;
        cell->setHighlighted(false);
        if (m_identifiers.contains(cell))
            m_reusable.insert(m_identifiers.value(cell), cell);
        else
            delete cell;
    }
    m_cells.clear();
    m_selected.reset();
    m_current.reset();
    const int count = m_dataSource ? qMax(0, m_dataSource->numberOfItems(this)) : 0;
    for (int item = 0; item < count; ++item) {
        CollectionViewCell *cell = m_dataSource->cellForItem(this, item);
        if (!cell)
            cell = new CollectionViewCell;
        cell->setParent(m_content);
        cell->show();
        m_cells.append(cell);
    }
    layoutCells();
}

void CollectionView::setSectionInset(const QMarginsF &inset)
{
    m_sectionInset = inset;
    layoutCells();
}

void CollectionView::setItemSize(const QSizeF &size)
{
    m_itemSize = size;
    layoutCells();
}

void CollectionView::setMinimumLineSpacing(double spacing)
{
    m_lineSpacing = spacing;
    layoutCells();
}

void CollectionView::setMinimumInteritemSpacing(double spacing)
{
    m_interitemSpacing = spacing;
    layoutCells();
}

void CollectionView::setShowsVerticalScrollIndicator(bool shows)
{
    setVerticalScrollBarPolicy(shows ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

CollectionViewCell *CollectionView::cellForItem(int item) const
{
    return item >= 0 && item < m_cells.size() ? m_cells.at(item) : nullptr;
}

void CollectionView::layoutCells()
{
    // Rows are filled left to right; the spare width of a row goes between its items, and an
    // item alone in its row is centred, as a flow layout does.
    const double width = viewport()->width();
    const double available = width - m_sectionInset.left() - m_sectionInset.right();
    m_frames.clear();
    double y = m_sectionInset.top();
    int rowStart = 0;
    while (rowStart < m_cells.size()) {
        QList<QSizeF> row;
        double used = 0;
        for (int i = rowStart; i < m_cells.size(); ++i) {
            std::optional<QSizeF> asked = m_dataSource ? m_dataSource->sizeForItem(this, i) : std::nullopt;
            const QSizeF size = asked.value_or(m_itemSize);
            const double needed = used + (row.isEmpty() ? 0 : m_interitemSpacing) + size.width();
            if (!row.isEmpty() && needed > available)
                break;
            used = needed;
            row.append(size);
        }
        double rowHeight = 0;
        double itemsWidth = 0;
        for (const QSizeF &size : row) {
            rowHeight = qMax(rowHeight, size.height());
            itemsWidth += size.width();
        }
        const double gap = row.size() > 1 ? (available - itemsWidth) / (row.size() - 1) : 0;
        double x = m_sectionInset.left() + (row.size() == 1 ? (available - itemsWidth) / 2 : 0);
        for (const QSizeF &size : row) {
            const QRectF frame(x, y + (rowHeight - size.height()) / 2, size.width(), size.height());
            m_frames.append(QRect(int(std::lround(frame.x())), int(std::lround(frame.y())), int(std::lround(frame.width())),
                                  int(std::lround(frame.height()))));
            x += size.width() + gap;
        }
        rowStart += int(row.size());
        y += rowHeight + (rowStart < m_cells.size() ? m_lineSpacing : 0);
    }
    for (int i = 0; i < m_cells.size(); ++i)
        m_cells.at(i)->setGeometry(m_frames.at(i));
    m_content->resize(int(width), int(std::ceil(y + m_sectionInset.bottom())));
    updateFocusMark();
}

void CollectionView::selectItem(std::optional<int> item)
{
    if (item && !cellForItem(*item))
        item.reset();
    if (m_selected) {
        if (CollectionViewCell *old = cellForItem(*m_selected)) {
            old->m_selected = false;
            old->setHighlighted(false);
        }
    }
    m_selected = item;
    if (item) {
        CollectionViewCell *cell = m_cells.at(*item);
        cell->m_selected = true;
        cell->setHighlighted(true);
        setCurrent(*item);
    }
}

void CollectionView::choose(int item)
{
    selectItem(item);
    if (m_dataSource)
        m_dataSource->didSelectItem(this, item);
}

void CollectionView::setCurrent(int item)
{
    m_current = item;
    if (CollectionViewCell *cell = cellForItem(item))
        ensureWidgetVisible(cell, 0, 0);
    updateFocusMark();
}

void CollectionView::updateFocusMark()
{
    CollectionViewCell *cell = m_current ? cellForItem(*m_current) : nullptr;
    if (!cell || !hasFocus() || !m_keyboardInUse) {
        m_focusMark->hide();
        return;
    }
    m_focusMark->setGeometry(cell->geometry().adjusted(-3, -3, 3, 3));
    m_focusMark->show();
    m_focusMark->raise();
}

int CollectionView::itemInDirection(int from, int key) const
{
    const int last = int(m_cells.size()) - 1;
    switch (key) {
    case Qt::Key_Left: return qMax(0, from - 1);
    case Qt::Key_Right: return qMin(last, from + 1);
    case Qt::Key_Home: return 0;
    case Qt::Key_End: return last;
    default: break;
    }
    // Up and down: the nearest item in the row above or below.
    const QRect here = m_frames.value(from);
    int best = from;
    double bestDistance = 0;
    for (int i = 0; i <= last; ++i) {
        const QRect there = m_frames.value(i);
        const bool inDirection = key == Qt::Key_Up ? there.bottom() < here.top() : there.top() > here.bottom();
        if (!inDirection)
            continue;
        const double distance = std::abs(there.center().y() - here.center().y()) * 10000.0
                                + std::abs(there.center().x() - here.center().x());
        if (best == from || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void CollectionView::keyPressEvent(QKeyEvent *event)
{
    if (m_cells.isEmpty()) {
        QScrollArea::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        m_keyboardInUse = true;
        setCurrent(m_current ? itemInDirection(*m_current, event->key()) : 0);
        event->accept();
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose(m_current.value_or(0));
        event->accept();
        return;
    default:
        QScrollArea::keyPressEvent(event);
    }
}

bool CollectionView::event(QEvent *event)
{
    // Enter and Return choose an item here; they must not reach a default button first.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (!m_cells.isEmpty() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
            event->accept();
            return true;
        }
    }
    return QScrollArea::event(event);
}

void CollectionView::focusInEvent(QFocusEvent *event)
{
    QScrollArea::focusInEvent(event);
    m_keyboardInUse = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (!m_current && !m_cells.isEmpty())
        m_current = m_selected.value_or(0);
    updateFocusMark();
}

void CollectionView::focusOutEvent(QFocusEvent *event)
{
    QScrollArea::focusOutEvent(event);
    updateFocusMark();
}

void CollectionView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    layoutCells();
}

bool CollectionView::eventFilter(QObject *watched, QEvent *event)
{
    // Presses on a cell or on its image reach the content widget, which knows where they fell.
    // A quick second tap arrives as a double click: it is a press all the same.
    const QEvent::Type type = event->type();
    if (watched == m_content
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        int hit = -1;
        for (int i = 0; i < m_frames.size(); ++i) {
            if (m_frames.at(i).contains(mouse->position().toPoint()))
                hit = i;
        }
        if (type != QEvent::MouseButtonRelease) {
            m_keyboardInUse = false;
            m_pressed = hit;
            // The tile shows its chosen look while it is held down.
            if (CollectionViewCell *cell = cellForItem(hit))
                cell->setHighlighted(true);
        } else {
            const int pressed = std::exchange(m_pressed, -1);
            if (hit >= 0 && hit == pressed)
                choose(hit);
            else if (CollectionViewCell *cell = cellForItem(pressed))
                cell->setHighlighted(cell->isSelected());
        }
        return hit >= 0;
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace pelbrook
