#pragma once

#include <QImage>
#include <QWidget>

namespace pelbrook {

/// Shows an image whole, scaled to fit the view with its proportions kept, and centred.
/// Where an image of @p image's size is drawn in @p box: as large as it fits whole, centred.
QRectF aspectFitRect(const QSizeF &image, const QRectF &box);

class ImageView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    void setImage(const QImage &image);

    /// Where the image is drawn, in the view's coordinates.
    QRectF imageRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

} // namespace pelbrook
