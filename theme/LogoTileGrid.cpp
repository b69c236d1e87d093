#include "theme/LogoTileGrid.h"

#include "theme/LogoTileDelegate.h"

#include <QKeyEvent>
#include <QScroller>

#include <utility>

namespace pelbrook {

namespace {

// One chosen tile, never none once one is chosen: a request that would only unmark it (a
// screen reader's toggle, a control-click) changes nothing, and marking one unmarks the rest.
class OneChosen : public QItemSelectionModel
{
public:
    using QItemSelectionModel::QItemSelectionModel;
    using QItemSelectionModel::select;

    void select(const QItemSelection &selection, QItemSelectionModel::SelectionFlags command) override
    {
        if ((command & QItemSelectionModel::Select) && !selection.isEmpty())
            QItemSelectionModel::select(selection, QItemSelectionModel::ClearAndSelect);
    }
};

bool choosesByKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select;
}

} // namespace

LogoTileGrid::LogoTileGrid(LogoTileModel::ImageLookup image, LogoTileModel::ImageLookup highlightedImage,
                           LogoTileModel::NameLookup name, QWidget *parent)
    : QListView(parent)
    , m_tiles(new LogoTileModel(image, highlightedImage, std::move(name), this))
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    // A grid cell as wide as a tile and a line higher: tiles start at the grid's corner, 16
    // points apart from row to row.
    setGridSize(LogoTileDelegate::TileSize + QSize(0, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    // Clear: the screen's background shows between the tiles.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setModel(m_tiles);
    QItemSelectionModel *previous = selectionModel();
    setSelectionModel(new OneChosen(m_tiles, this));
    delete previous;
    // Without a scroll bar, a finger must be able to drag the grid.
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                if (!selected.indexes().isEmpty())
                    Q_EMIT chosen(selected.indexes().first().row());
                else if (!deselected.indexes().isEmpty())
                    // Cleared all at once (a screen reader choosing another tile starts so).
                    selectionModel()->select(deselected, QItemSelectionModel::Select);
            });
    connect(this, &QAbstractItemView::clicked, this, &LogoTileGrid::choose);
}

void LogoTileGrid::reloadData(const QStringList &keys, const QStringList &highlightedKeys)
{
    m_tiles->setKeys(keys, highlightedKeys);
}

void LogoTileGrid::choose(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    if (selectionModel()->isSelected(index))
        Q_EMIT chosen(index.row());
    else
        selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

void LogoTileGrid::setKeyboardInUse(bool inUse)
{
    // The window's own mark, which Tab sets and which the cells' rings follow: the arrows
    // moving within a grid reached by a click set it too, and a click clears it.
    window()->setAttribute(Qt::WA_KeyboardFocusChange, inUse);
    viewport()->update();
}

bool LogoTileGrid::event(QEvent *event)
{
    // Enter, Return and Space choose a tile here; a shortcut elsewhere must not take them first.
    if (event->type() == QEvent::ShortcutOverride && choosesByKey(static_cast<QKeyEvent *>(event)->key())
        && currentIndex().isValid()) {
        event->accept();
        return true;
    }
    return QListView::event(event);
}

void LogoTileGrid::keyPressEvent(QKeyEvent *event)
{
    setKeyboardInUse(true);
    if (choosesByKey(event->key()) && currentIndex().isValid()) {
        choose(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void LogoTileGrid::keyboardSearch(const QString &search)
{
    // Typing a tile's name moves the keyboard there; only Space and Enter choose.
    const QModelIndexList found = m_tiles->match(m_tiles->index(0, 0), Qt::DisplayRole, search, 1,
                                                 Qt::MatchStartsWith | Qt::MatchWrap);
    if (!found.isEmpty())
        selectionModel()->setCurrentIndex(found.first(), QItemSelectionModel::NoUpdate);
}

void LogoTileGrid::mousePressEvent(QMouseEvent *event)
{
    setKeyboardInUse(false);
    QListView::mousePressEvent(event);
}

QItemSelectionModel::SelectionFlags LogoTileGrid::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    // Presses and keys only move the keyboard's place; a whole click, Space or Enter chooses.
    if (event && event->isInputEvent())
        return QItemSelectionModel::NoUpdate;
    return QListView::selectionCommand(index, event);
}

} // namespace pelbrook
