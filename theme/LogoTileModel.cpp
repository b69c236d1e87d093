#include "theme/LogoTileModel.h"

#include <utility>

namespace pelbrook {

LogoTileModel::LogoTileModel(ImageLookup image, ImageLookup highlightedImage, NameLookup name, QObject *parent)
    : QAbstractListModel(parent)
    , m_image(image)
    , m_highlightedImage(highlightedImage)
    , m_name(std::move(name))
{
}

void LogoTileModel::setKeys(const QStringList &keys, const QStringList &highlightedKeys)
{
    beginResetModel();
    m_tiles.clear();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString &key = keys.at(i);
        m_tiles.append({key, m_name(key), m_image(key + QStringLiteral(".png")),
                        m_highlightedImage(highlightedKeys.value(i) + QStringLiteral(".png"))});
    }
    endResetModel();
}

int LogoTileModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tiles.size());
}

QVariant LogoTileModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_tiles.size())
        return {};
    const Tile &tile = m_tiles.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return tile.name;
    case Qt::DecorationRole:
        return tile.image;
    case HighlightedImageRole:
        return tile.highlightedImage;
    case KeyRole:
        return tile.key;
    default:
        return {};
    }
}

} // namespace pelbrook
