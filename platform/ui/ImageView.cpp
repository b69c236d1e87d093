#include "platform/ui/ImageView.h"

#include <QPainter>

namespace pelbrook {

void ImageView::setImage(const QImage &image)
{
    m_image = image;
    update();
}

QRectF aspectFitRect(const QSizeF &image, const QRectF &box)
{
    QSizeF size = image;
    size.scale(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.left() + (box.width() - size.width()) / 2, box.top() + (box.height() - size.height()) / 2, size.width(),
                  size.height());
}

QRectF ImageView::imageRect() const
{
    return m_image.isNull() ? QRectF() : aspectFitRect(m_image.deviceIndependentSize(), QRectF(rect()));
}

void ImageView::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(imageRect(), m_image);
}

} // namespace pelbrook
