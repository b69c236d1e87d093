#include "platform/Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>

namespace pelbrook {

namespace {

// Names often come from outside (a wallet key from the host, a bank code from the bank list):
// one that could reach a file outside its directory names nothing.
bool isPlainName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QStringLiteral(".."));
}

QImage decodeImage(const QString &path);

} // namespace

std::optional<ResourceBundle> ResourceBundle::withIdentifier(const QString &identifier)
{
    if (identifier.isEmpty() || identifier.contains(QLatin1Char('/')))
        return std::nullopt;
    const QString root = QStringLiteral(":/") + identifier;
    if (!QFileInfo(root).isDir())
        return std::nullopt;
    return ResourceBundle(root);
}

ResourceBundle ResourceBundle::mainBundle()
{
    return ResourceBundle(QStringLiteral(":"));
}

QString ResourceBundle::pathForResource(const QString &name, const QString &type) const
{
    const QString path = m_root + QLatin1Char('/') + name + (type.isEmpty() ? QString() : QLatin1Char('.') + type);
    return QFileInfo::exists(path) ? path : QString();
}

QImage ResourceBundle::imageNamed(const QString &name) const
{
    if (name.isEmpty() || !isPlainName(name))
        return {};
    return imageWithContentsOfFile(m_root + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QImage imageNamed(const QString &name, const std::optional<ResourceBundle> &bundle)
{
    return bundle ? bundle->imageNamed(name) : ResourceBundle::mainBundle().imageNamed(name);
}

QImage imageWithContentsOfFile(const QString &path)
{
    // Images compiled into the resources never change: each is decoded once and then shared, so
    // a checkout opened a thousand times holds one copy of each and draws it from the same
    // cached pixmaps. Misses are not kept: a host may register its resources later.
    const bool resource = path.startsWith(QLatin1Char(':'));
    if (resource) {
        static QMutex mutex;
        static QHash<QString, QImage> decoded;
        QMutexLocker lock(&mutex);
        if (const auto found = decoded.constFind(path); found != decoded.cend())
            return *found;
        lock.unlock();
        const QImage image = decodeImage(path);
        lock.relock();
        if (!image.isNull())
            decoded.insert(path, image);
        return image;
    }
    return decodeImage(path);
}

namespace {

// Only a file that is there: for one that is not, QImage would go on to try the name with
// every image format's extension appended, a dozen failed opens for each missing image.
QImage decodeIfPresent(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    // A ".png" is read as PNG first. Asked to guess, Qt loads every image format plugin it has
    // (SVG's with its own library) before it tries its built-in PNG reader, which made a first
    // checkout wait several milliseconds for images it never reads. A file that is not what its
    // name says is still read, by the guessing path.
    if (path.endsWith(QStringLiteral(".png"))) {
        QImageReader png(path, "png");
        png.setAutoDetectImageFormat(false);
        QImage image;
        if (png.read(&image))
            return image;
    }
    return QImage(path);
}

QImage decodeImage(const QString &path)
{
    if (path.endsWith(QStringLiteral(".png"))) {
        QImage image = decodeIfPresent(path.chopped(4) + QStringLiteral("@2x.png"));
        if (!image.isNull()) {
            image.setDevicePixelRatio(2.0);
            return image;
        }
    }
    return decodeIfPresent(path);
}

} // namespace

QImage imageFromSet(const QString &set, const QString &fileName)
{
    if (!isPlainName(fileName))
        return {};
    const std::optional<ResourceBundle> library = ResourceBundle::withIdentifier(ResourceBundle::libraryIdentifier());
    const ResourceBundle bundle = library ? *library : ResourceBundle::mainBundle();
    const QString directory = bundle.pathForResource(set, QStringLiteral("bundle"));
    if (directory.isEmpty())
        return {};
    return imageWithContentsOfFile(directory + QLatin1Char('/') + fileName);
}

QImage libraryImage(const QString &name)
{
    return imageNamed(name, ResourceBundle::withIdentifier(ResourceBundle::libraryIdentifier()));
}

QIcon iconFor(const QImage &image)
{
    static QHash<qint64, QIcon> icons;
    auto found = icons.find(image.cacheKey());
    if (found == icons.end()) {
        // Images made anew each time gain nothing from sharing, and must not make it grow.
        if (icons.size() >= 64)
            icons.clear();
        found = icons.insert(image.cacheKey(), QIcon(QPixmap::fromImage(image)));
    }
    return *found;
}

} // namespace pelbrook
