#include "platform/CollectionView.h"

#include "platform/Focus.h"

#include <QAccessible>
#include <QAccessibleWidget>
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
        drawFocusRing(painter, rect(), 6);
    }
};

// A screen reader meets the grid as a list of its items, whatever widgets lie between them.
class AccessibleCollectionView : public QAccessibleWidget
{
public:
    explicit AccessibleCollectionView(CollectionView *view)
        : QAccessibleWidget(view, QAccessible::List)
    {
    }

    int childCount() const override { return view()->numberOfItems(); }
    QAccessibleInterface *child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(view()->cellForItem(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? view()->itemForCell(child->object()).value_or(-1) : -1;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (view()->hasFocus() && view()->currentItem())
            return child(*view()->currentItem());
        return nullptr;
    }

private:
    CollectionView *view() const { return static_cast<CollectionView *>(widget()); }
};

// One item: named by its cell's accessible name, selectable, and chosen by its press action as
// by a tap.
class AccessibleCollectionViewCell : public QAccessibleWidget
{
public:
    explicit AccessibleCollectionViewCell(CollectionViewCell *cell)
        : QAccessibleWidget(cell, QAccessible::ListItem)
    {
    }

    QAccessibleInterface *parent() const override
    {
        CollectionView *grid = view();
        return grid ? QAccessible::queryAccessibleInterface(grid) : QAccessibleWidget::parent();
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        CollectionView *grid = view();
        const std::optional<int> here = item();
        state.selectable = true;
        state.selected = cell()->isSelected();
        state.focusable = here.has_value();
        state.focused = here && grid->hasFocus() && grid->currentItem() == here;
        return state;
    }
    QStringList actionNames() const override { return {QAccessibleActionInterface::pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == QAccessibleActionInterface::pressAction() && view() && item())
            view()->choose(*item());
    }

private:
    CollectionViewCell *cell() const { return static_cast<CollectionViewCell *>(widget()); }
    CollectionView *view() const
    {
        for (QWidget *w = cell()->parentWidget(); w; w = w->parentWidget()) {
            if (auto *grid = qobject_cast<CollectionView *>(w))
                return grid;
        }
        return nullptr;
    }
    std::optional<int> item() const
    {
        CollectionView *grid = view();
        return grid ? grid->itemForCell(cell()) : std::nullopt;
    }
};

QAccessibleInterface *accessibleCollectionParts(const QString &className, QObject *object)
{
    if (className == QLatin1String(CollectionView::staticMetaObject.className()))
        return new AccessibleCollectionView(static_cast<CollectionView *>(object));
    if (className == QLatin1String(CollectionViewCell::staticMetaObject.className()))
        return new AccessibleCollectionViewCell(static_cast<CollectionViewCell *>(object));
    return nullptr;
}

// Tells a screen reader about an item: @p what is Focus or Selection.
void announce(CollectionViewCell *cell, QAccessible::Event what)
{
    if (!cell || !QAccessible::isActive())
        return;
    QAccessibleEvent event(cell, what);
    QAccessible::updateAccessibility(&event);
}

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
    // A press reaches the content when it falls on a cell; one given to the viewport itself
    // (by a gesture's replay or an automation tool) is looked at the same way.
    viewport()->installEventFilter(this);
    static const bool accessible = (QAccessible::installFactory(&accessibleCollectionParts), true);
    Q_UNUSED(accessible)
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

std::optional<int> CollectionView::itemForCell(const QObject *cell) const
{
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells.at(i) == cell)
            return i;
    }
    return std::nullopt;
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
        announce(cell, QAccessible::Selection);
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
    const bool moved = m_current != item;
    m_current = item;
    if (CollectionViewCell *cell = cellForItem(item))
        ensureWidgetVisible(cell, 0, 0);
    updateFocusMark();
    if (moved && hasFocus())
        announce(cellForItem(item), QAccessible::Focus);
}

void CollectionView::updateFocusMark()
{
    CollectionViewCell *cell = m_current ? cellForItem(*m_current) : nullptr;
    if (!cell || !hasFocus() || !m_keyboardInUse) {
        m_focusMark->hide();
        return;
    }
    // Around the cell, but inside the grid: a cell at the grid's edge would otherwise lose that
    // side of its mark.
    m_focusMark->setGeometry(cell->geometry().adjusted(-3, -3, 3, 3).intersected(m_content->rect()));
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
    // The grid has the focus; what a screen reader should name is the item the keyboard is on.
    if (m_current)
        announce(cellForItem(*m_current), QAccessible::Focus);
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
    if ((watched == m_content || watched == viewport())
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        QPoint position = mouse->position().toPoint();
        if (watched == viewport())
            position = m_content->mapFrom(viewport(), position);
        int hit = -1;
        for (int i = 0; i < m_frames.size(); ++i) {
            if (m_frames.at(i).contains(position))
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
