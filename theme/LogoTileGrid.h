#pragma once

#include "theme/LogoTileModel.h"

#include <QListView>

namespace pelbrook {

/**
 * A grid of logo tiles: 140 x 40 points each, left to right and then down, 16 points between
 * rows, no inset; it scrolls inside itself, and a finger drags it. Its own model holds the
 * tiles; give it a LogoTileDelegate (or a subclass) to draw them.
 *
 * One tile is chosen at a time, and it stays chosen until another is: a click or a tap chooses
 * the tile under it, and Space or Enter the tile the keyboard is on. The keyboard reaches the
 * grid on a tile without choosing it; the arrows, Home and End move it. Each choice, also of the
 * tile already chosen, is reported by chosen(). A screen reader meets the grid as a list of
 * items named by the model.
 */
class LogoTileGrid : public QListView
{
    Q_OBJECT
public:
    LogoTileGrid(LogoTileModel::ImageLookup image, LogoTileModel::ImageLookup highlightedImage,
                 LogoTileModel::NameLookup name, QWidget *parent = nullptr);

    LogoTileModel *tiles() const { return m_tiles; }
    /// Shows one tile per key, none of them chosen.
    void reloadData(const QStringList &keys, const QStringList &highlightedKeys);

Q_SIGNALS:
    /// The buyer chose the tile of row @p item.
    void chosen(int item);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &search) override;
    void mousePressEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index, const QEvent *event) const override;

private:
    void choose(const QModelIndex &index);
    void setKeyboardInUse(bool inUse);

    LogoTileModel *m_tiles;
};

} // namespace pelbrook
