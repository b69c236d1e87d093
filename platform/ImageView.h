#pragma once

#include <QImage>
#include <QWidget>

namespace pelbrook {

/// Shows an image, scaled to fit (whole image, proportions kept) or to fill, with an optional
/// highlighted image shown while the view is highlighted.
class ImageView : public QWidget
{
    Q_OBJECT
public:
    enum class ContentMode { ScaleToFill, ScaleAspectFit };

    explicit ImageView(QWidget *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    QImage highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(const QImage &image);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);

    /// Where the image is drawn, in the view's coordinates.
    QRectF imageRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QImage m_highlightedImage;
    bool m_highlighted = false;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
};

} // namespace pelbrook
