#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QList>
#include <QStringList>

#include <functional>

namespace pelbrook {

/**
 * The tiles of a logo grid: one row per key, in the screen's order (duplicates included), with
 * the name a screen reader gives the tile and the two logos, looked up when the keys are set.
 * A key without artwork keeps its row, with null images.
 */
class LogoTileModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        KeyRole = Qt::UserRole + 1, ///< the key, as the screen gave it
        HighlightedImageRole,       ///< the logo shown while the tile is chosen
    };

    /// Finds an image file ("<name>.png") in one of the screen's image sets.
    using ImageLookup = QImage (*)(const QString &fileName);
    /// The name a screen reader gives the tile of a key.
    using NameLookup = std::function<QString(const QString &key)>;

    LogoTileModel(ImageLookup image, ImageLookup highlightedImage, NameLookup name, QObject *parent = nullptr);

    /// Replaces every row: @p keys name the tiles and their logos, @p highlightedKeys (one per
    /// key) the logos shown while chosen.
    void setKeys(const QStringList &keys, const QStringList &highlightedKeys);
    QString key(int row) const { return m_tiles.value(row).key; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Tile {
        QString key;
        QString name;
        QImage image;
        QImage highlightedImage;
    };

    ImageLookup m_image;
    ImageLookup m_highlightedImage;
    NameLookup m_name;
    QList<Tile> m_tiles;
};

} // namespace pelbrook
