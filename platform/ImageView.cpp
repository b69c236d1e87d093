#include "platform/ImageView.h"

#include <QPainter>

namespace pelbrook {

ImageView::ImageView(QWidget *parent)
    : QWidget(parent)
{
}

void ImageView::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void ImageView::setHighlightedImage(const QImage &image)
{
    m_highlightedImage = image;
    update();
}

void ImageView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

void ImageView::setContentMode(ContentMode mode)
{
    m_contentMode = mode;
    update();
}

QRectF ImageView::imageRect() const
{
    const QImage &shown = m_highlighted && !m_highlightedImage.isNull() ? m_highlightedImage : m_image;
    if (shown.isNull())
        return {};
    if (m_contentMode == ContentMode::ScaleToFill)
        return rect();
    QSizeF size = shown.deviceIndependentSize();
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void ImageView::paintEvent(QPaintEvent *)
{
    const QImage &shown = m_highlighted && !m_highlightedImage.isNull() ? m_highlightedImage : m_image;
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(imageRect(), shown);
}

} // namespace pelbrook
