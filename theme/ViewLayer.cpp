#include "theme/ViewLayer.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace pelbrook {

ViewLayer *ViewLayer::find(const QWidget *view)
{
    return view ? view->findChild<ViewLayer *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

ViewLayer *ViewLayer::of(QWidget *view)
{
    if (ViewLayer *existing = find(view))
        return existing;
    return new ViewLayer(view);
}

ViewLayer::ViewLayer(QWidget *view)
    : QObject(view)
    , m_view(view)
{
    view->installEventFilter(this);
}

void ViewLayer::setBackgroundColor(const QColor &color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    updateOpaque();
    m_view->update();
}

void ViewLayer::setCornerRadius(double radius)
{
    // Screens set their layers again on every showing; the mask is only worked out on a change.
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    updateMask();
    updateOpaque();
    m_view->update();
}

void ViewLayer::setMasksToBounds(bool masks)
{
    if (masks == m_masksToBounds)
        return;
    m_masksToBounds = masks;
    updateMask();
    updateOpaque();
    m_view->update();
}

void ViewLayer::setBorderWidth(double width)
{
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    updateOpaque();
    m_view->update();
}

void ViewLayer::setShadow(const QColor &color, const QSizeF &offset, double opacity, double radius)
{
    m_shadowColor = color;
    m_shadowOffset = offset;
    m_shadowOpacity = opacity;
    m_shadowRadius = radius;
    updateOpaque();
    m_view->update();
}

void ViewLayer::insertGradientAtBottom(const GradientLayer &layer)
{
    if (m_gradients.isEmpty())
        m_bounds = m_view->rect();
    m_gradients.append(layer);
    noteGradientBelow(layer);
    updateOpaque();
    m_view->update();
}

void ViewLayer::noteGradientBelow(const GradientLayer &layer)
{
    // A new layer goes beneath all others, so it never hides an earlier one; it is worth
    // painting only where the opaque layers above leave it uncovered.
    if (!(QRegion(layer.frame) - m_opaqueCover).isEmpty())
        m_visibleGradients.append(layer);
    if (layer.isOpaque())
        m_opaqueCover += layer.frame;
}

void ViewLayer::followBounds(const QRect &from, const QRect &to)
{
    // A layer that filled the view keeps filling it: a header or a button that grows with its
    // window must not show a strip without its colours.
    bool moved = false;
    for (GradientLayer &layer : m_gradients) {
        if (layer.frame == from) {
            layer.frame = to;
            moved = true;
        }
    }
    if (!moved)
        return;
    m_visibleGradients.clear();
    m_opaqueCover = QRegion();
    for (const GradientLayer &layer : std::as_const(m_gradients))
        noteGradientBelow(layer);
}

void ViewLayer::updateMask()
{
    // Children are clipped by the rounded shape too, as a layer that masks to bounds does.
    if (m_masksToBounds && m_cornerRadius > 0 && !m_view->size().isEmpty()) {
        QPainterPath path;
        path.addRoundedRect(QRectF(m_view->rect()), m_cornerRadius, m_cornerRadius);
        m_view->setMask(QRegion(path.toFillPolygon().toPolygon()));
    } else {
        m_view->clearMask();
    }
}

bool ViewLayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::Paint) {
            QPainter painter(m_view);
            paint(painter);
        } else if (event->type() == QEvent::Resize) {
            // Measured against the bounds last seen: a view resized while hidden hears of it
            // only once shown, without its old size.
            followBounds(m_bounds, m_view->rect());
            m_bounds = m_view->rect();
            updateMask();
            updateOpaque();
        }
    }
    return false;
}

namespace {

void fillGradient(QPainter &painter, const GradientLayer &layer)
{
    const QColor one = layer.colorOne.toQColor();
    const QColor two = layer.colorTwo.toQColor();
    const QRectF frame = layer.frame;
    // One colour twice, as a white screen is painted, is a plain fill: far cheaper, and the
    // same pixels.
    if (one == two) {
        painter.fillRect(frame, one);
        return;
    }
    QLinearGradient gradient(frame.topLeft() + QPointF(GradientLayer::StartPoint.x() * frame.width(), GradientLayer::StartPoint.y() * frame.height()),
                             frame.topLeft() + QPointF(GradientLayer::EndPoint.x() * frame.width(), GradientLayer::EndPoint.y() * frame.height()));
    gradient.setColorAt(0.0, one);
    gradient.setColorAt(GradientLayer::FirstStop, one);
    gradient.setColorAt(GradientLayer::SecondStop, two);
    painter.fillRect(frame, gradient);
}

} // namespace

bool ViewLayer::hasPlainShape() const
{
    return m_cornerRadius <= 0 && m_borderWidth <= 0 && !(m_shadowOpacity > 0 && m_shadowColor.isValid() && !m_masksToBounds);
}

void ViewLayer::paint(QPainter &painter) const
{
    // Bottom to top: the last visible layer is the lowest.
    if (hasPlainShape()) {
        // A plain rectangle, as most layers are, needs no path, clip or antialiasing.
        if (m_backgroundColor.isValid() && m_backgroundColor.alpha() > 0)
            painter.fillRect(m_view->rect(), m_backgroundColor);
        for (auto it = m_visibleGradients.crbegin(); it != m_visibleGradients.crend(); ++it)
            fillGradient(painter, *it);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = m_view->rect();
    QPainterPath shape;
    shape.addRoundedRect(bounds, m_cornerRadius, m_cornerRadius);
    if (m_shadowOpacity > 0 && m_shadowColor.isValid() && !m_masksToBounds) {
        QColor shadow = m_shadowColor;
        shadow.setAlphaF(float(shadow.alphaF() * m_shadowOpacity * 0.5));
        painter.fillPath(shape.translated(m_shadowOffset.width(), m_shadowOffset.height()), shadow);
    }
    if (m_backgroundColor.isValid() && m_backgroundColor.alpha() > 0)
        painter.fillPath(shape, m_backgroundColor);
    if (m_masksToBounds || m_cornerRadius > 0)
        painter.setClipPath(shape);
    for (auto it = m_visibleGradients.crbegin(); it != m_visibleGradients.crend(); ++it)
        fillGradient(painter, *it);
    if (m_borderWidth > 0) {
        painter.setClipping(false);
        painter.setPen(QPen(QColor(0, 0, 0), m_borderWidth));
        painter.drawPath(shape);
    }
}

void ViewLayer::updateOpaque()
{
    // A view its layers cover in opaque colour says so: Qt then paints nothing beneath it (the
    // window's background, a parent's fill), which on a full-window view is most of a frame.
    const bool background = m_backgroundColor.isValid() && m_backgroundColor.alpha() == 255;
    const bool opaque = hasPlainShape() && (background || (QRegion(m_view->rect()) - m_opaqueCover).isEmpty());
    m_view->setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void setGradientBackground(QWidget *view, const Color &colorOne, const Color &colorTwo)
{
    ViewLayer::of(view)->insertGradientAtBottom({view->rect(), colorOne, colorTwo});
}

} // namespace pelbrook
