#pragma once

#include <QMarginsF>
#include <QPointer>
#include <QHash>
#include <QList>
#include <QMultiHash>
#include <QScrollArea>
#include <QSizeF>
#include <QString>

#include <functional>
#include <optional>

namespace pelbrook {

/// One item of a CollectionView. A cell that shows a selected look overrides setHighlighted().
class CollectionViewCell : public QWidget
{
    Q_OBJECT
public:
    explicit CollectionViewCell(QWidget *parent = nullptr);

    /// Called by the grid while the cell is selected.
    virtual void setHighlighted(bool highlighted) { Q_UNUSED(highlighted) }
    bool isSelected() const { return m_selected; }

private:
    friend class CollectionView;
    bool m_selected = false;
};

class CollectionView;

/// What a CollectionView asks of the screen that shows it.
class CollectionViewDataSource
{
public:
    virtual ~CollectionViewDataSource() = default;
    virtual int numberOfItems(CollectionView *view) = 0;
    /// The cell for @p item, from CollectionView::dequeueReusableCell().
    virtual CollectionViewCell *cellForItem(CollectionView *view, int item) = 0;
    /// The item's size; the layout's item size when not overridden.
    virtual std::optional<QSizeF> sizeForItem(CollectionView *view, int item);
    /// The buyer chose @p item (a click, a tap, or Space or Enter on the focused item).
    virtual void didSelectItem(CollectionView *view, int item) = 0;
};

/**
 * A scrolling grid of cells in rows, left to right and then down, as a vertical flow layout
 * places them. One item is selected at a time; a click or a tap selects, and with the keyboard
 * the arrow keys move a visible focus mark and Space or Enter selects. A screen reader meets it
 * as a list whose items are the cells, named by their accessible names, and hears of the item
 * the keyboard moves to and of the item chosen.
 */
class CollectionView : public QScrollArea
{
    Q_OBJECT
public:
    explicit CollectionView(QWidget *parent = nullptr);
    ~CollectionView() override;

    void setDataSource(CollectionViewDataSource *dataSource);

    /// A cell class for @p identifier: @p make builds one at a given frame.
    void registerCell(const QString &identifier, std::function<CollectionViewCell *(const QRect &frame)> make);
    /// A cell of the class registered for @p identifier, for @p item: one no longer shown, or a new one.
    CollectionViewCell *dequeueReusableCell(const QString &identifier, int item);

    /// Asks the data source again for every item and lays the cells out; the selection is
    /// cleared.
    void reloadData();

    // The flow layout.
    void setSectionInset(const QMarginsF &inset);
    void setItemSize(const QSizeF &size);
    void setMinimumLineSpacing(double spacing);
    void setMinimumInteritemSpacing(double spacing);
    void setShowsVerticalScrollIndicator(bool shows);

    int numberOfItems() const { return int(m_cells.size()); }
    CollectionViewCell *cellForItem(int item) const;
    /// The item @p cell shows, if it is one of this grid's cells.
    std::optional<int> itemForCell(const QObject *cell) const;
    std::optional<int> selectedItem() const { return m_selected; }
    /// Selects @p item as a buyer's choice would, but without telling the data source.
    void selectItem(std::optional<int> item);
    /// Chooses @p item as a tap would (or a screen reader's press): selects it and tells the
    /// data source.
    void choose(int item);
    /// The item the keyboard is on.
    std::optional<int> currentItem() const { return m_current; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutCells();
    void setCurrent(int item);
    void updateFocusMark();
    int itemInDirection(int from, int key) const;

    CollectionViewDataSource *m_dataSource = nullptr;
    QWidget *m_content;
    QWidget *m_focusMark;
    QHash<QString, std::function<CollectionViewCell *(const QRect &)>> m_factories;
    QMultiHash<QString, CollectionViewCell *> m_reusable;
    QHash<CollectionViewCell *, QString> m_identifiers;
    QList<CollectionViewCell *> m_cells;
    QList<QRect> m_frames;
    std::optional<int> m_selected;
    std::optional<int> m_current;
    int m_pressed = -1;
    /// The mark shows while the keyboard is in use, not after a click.
    bool m_keyboardInUse = false;
    QMarginsF m_sectionInset;
    QSizeF m_itemSize{50, 50};
    double m_lineSpacing = 10;
    double m_interitemSpacing = 10;
};

} // namespace pelbrook
