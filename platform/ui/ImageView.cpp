#include "platform/ui/ImageView.h"

#include <QPainter>

namespace pelbrook {

void ImageView::setImage(const QImage &image)
{
    m_image = image;
    update();
}

QRectF ImageView::imageRect() const
{
    if (m_image.isNull())
        return {};
    QSizeF size = m_image.deviceIndependentSize();
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
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
