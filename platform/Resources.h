#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <optional>

namespace pelbrook {

/**
 * A place images are looked up in, by name: the library's own bundle, or the host
 * application's main bundle.
 *
 * Bundles are Qt resource directories. The library's bundle is ":/<identifier>/", compiled into
 * the library. The host's main bundle is the root of the host's own Qt resources (":/"): a host
 * adds "merchantLogo.png" and the highlighted-state "secureLock.png" to a .qrc file with no
 * prefix. An image "name" is the file "name.png"; a "name@2x.png" beside it is preferred and
 * drawn at half its pixel size, for high-DPI screens.
 *
 * Missing images give a null QImage, never an error.
 */
class ResourceBundle
{
public:
    /// The identifier of the library's own bundle.
    static QString libraryIdentifier() { return QStringLiteral("com.pelbrook.iosPelbrookSdk"); }

    /// The bundle with that identifier, or nothing when none is present.
    static std::optional<ResourceBundle> withIdentifier(const QString &identifier);
    /// The host application's main bundle.
    static ResourceBundle mainBundle();

    /// The path of "name.type" in the bundle (for an image set: "set.bundle"), or an empty
    /// string when there is no such resource.
    QString pathForResource(const QString &name, const QString &type) const;
    /// The image "name" in this bundle, or a null image (also for a name holding "/", a
    /// backslash or "..").
    QImage imageNamed(const QString &name) const;

private:
    explicit ResourceBundle(const QString &root)
        : m_root(root)
    {
    }
    QString m_root;
};

/// An image by name from @p bundle, or from the main bundle when @p bundle is absent.
QImage imageNamed(const QString &name, const std::optional<ResourceBundle> &bundle);

/// The image in the file at @p path, named in full (no extension is guessed); "x@2x.png" beside
/// "x.png" is preferred, at half its pixel size.
QImage imageWithContentsOfFile(const QString &path);

/// An image from an image set: the file @p fileName (which carries its ".png") inside the
/// directory "<set>.bundle" of the library's bundle. A file name holding "/", a backslash or ".." gives
/// a null image.
QImage imageFromSet(const QString &set, const QString &fileName);

/// The library's own image @p name (falling back to the main bundle when the library's bundle
/// is absent).
QImage libraryImage(const QString &name);

/// An icon of @p image, one for every copy of the same image: the pixmaps Qt scales for it are
/// then scaled once, not for every button made again with it. GUI thread only.
QIcon iconFor(const QImage &image);

} // namespace pelbrook
