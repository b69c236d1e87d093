#pragma once

#include <QImage>
#include <QWidget>

namespace pelbrook {

/// Shows an image, scaled to fit (whole image, proportions kept) or to fill.
class ImageView : public QWidget
{
    Q_OBJECT
public:
    enum class ContentMode { ScaleToFill, ScaleAspectFit };

    explicit ImageView(QWidget *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);

    /// Where the image is drawn, in the view's coordinates.
    QRectF imageRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
};

} // namespace pelbrook
