#include "platform/Focus.h"

#include "platform/Palette.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace pelbrook {

namespace {

constexpr double RingWidth = KeyboardRingWidth;
constexpr const char *KeyboardFocusProperty = "keyboardFocus";

// Sets the property a widget reads to draw its mark while the keyboard is on it.
class KeyboardFocusTracker : public QObject
{
public:
    static KeyboardFocusTracker *instance()
    {
        static KeyboardFocusTracker *tracker = new KeyboardFocusTracker;
        return tracker;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            const bool carried = reason == Qt::OtherFocusReason && m_markedLeaving;
            mark(widget, reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || carried);
            m_markedLeaving = nullptr;
        } else if (event->type() == QEvent::FocusOut) {
            const bool marked = widget->property(KeyboardFocusProperty).toBool();
            m_markedLeaving = marked && static_cast<QFocusEvent *>(event)->reason() == Qt::OtherFocusReason ? widget : nullptr;
            mark(widget, false);
        }
        return false;
    }

private:
    static void mark(QWidget *widget, bool on)
    {
        if (widget->property(KeyboardFocusProperty).toBool() == on)
            return;
        widget->setProperty(KeyboardFocusProperty, on);
        // A widget shielded by a style sheet of its own selects its ring there.
        if (!widget->styleSheet().isEmpty()) {
            widget->style()->unpolish(widget);
            widget->style()->polish(widget);
        }
        widget->update();
    }

    // A marked widget that gave the focus away by itself, not to a click or Tab.
    QPointer<QWidget> m_markedLeaving;
};

} // namespace

void drawFocusRing(QPainter &painter, const QRectF &rect, double radius)
{
    const QPalette palette = screenPalette();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const double half = RingWidth / 2;
    painter.setPen(QPen(palette.color(QPalette::Highlight), RingWidth));
    painter.drawRoundedRect(rect.adjusted(half, half, -half, -half), radius, radius);
    const double inner = RingWidth + half;
    painter.setPen(QPen(palette.color(QPalette::HighlightedText), RingWidth));
    painter.drawRoundedRect(rect.adjusted(inner, inner, -inner, -inner), qMax(0.0, radius - RingWidth),
                            qMax(0.0, radius - RingWidth));
    painter.restore();
}

void trackKeyboardFocus(QWidget *widget)
{
    widget->removeEventFilter(KeyboardFocusTracker::instance());
    widget->installEventFilter(KeyboardFocusTracker::instance());
}

bool hasKeyboardFocusMark(const QWidget *widget)
{
    return widget->property(KeyboardFocusProperty).toBool();
}

QString keyboardRingStyleSheet(const QString &selector, int borderWidth, int padding, int radius)
{
    const int ring = int(RingWidth);
    return QStringLiteral("%1[%6=\"true\"] { border: %2px solid %3; border-radius: %4px; padding: 0 %5px; }")
        .arg(selector)
        .arg(ring)
        .arg(screenPalette().color(QPalette::Highlight).name())
        .arg(radius)
        .arg(qMax(0, padding + borderWidth - ring))
        .arg(QLatin1String(KeyboardFocusProperty));
}

void drawRoundedBorder(QPainter &painter, const QRectF &rect, double width, double radius, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    const double w = width, r = radius, half = width / 2;
    const double left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    // The circles the corners' arcs follow, the pen centred on the border.
    const QRectF topLeft(left + half, top + half, 2 * r - w, 2 * r - w);
    const QRectF topRight(right - 2 * r + half, top + half, 2 * r - w, 2 * r - w);
    const QRectF bottomLeft(left + half, bottom - 2 * r + half, 2 * r - w, 2 * r - w);
    const QRectF bottomRight(right - 2 * r + half, bottom - 2 * r + half, 2 * r - w, 2 * r - w);
    // Bottom, right, left, top: the antialiased corners come out as the platform draws them
    // only in this order and with these directions.
    painter.fillRect(QRectF(left + r, bottom - w, rect.width() - 2 * r, w), colour);
    painter.drawArc(bottomLeft, 225 * 16, 45 * 16);
    painter.drawArc(bottomRight, 270 * 16, 45 * 16);
    painter.fillRect(QRectF(right - w, top + r, w, rect.height() - 2 * r), colour);
    painter.drawArc(bottomRight, 315 * 16, 45 * 16);
    painter.drawArc(topRight, 0, 45 * 16);
    painter.fillRect(QRectF(left, top + r, w, rect.height() - 2 * r), colour);
    painter.drawArc(topLeft, 135 * 16, 45 * 16);
    painter.drawArc(bottomLeft, 180 * 16, 45 * 16);
    painter.fillRect(QRectF(left + r, top, rect.width() - 2 * r, w), colour);
    painter.drawArc(topLeft, 135 * 16, -45 * 16);
    painter.drawArc(topRight, 45 * 16, 45 * 16);
    painter.restore();
}

void fillRounded(QPainter &painter, const QRectF &rect, double radius, const QColor &colour)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, colour);
    painter.restore();
}

void chainFocusInReadingOrder(QWidget *container)
{
    struct Control {
        QWidget *widget;
        QRect frame;
    };
    QList<Control> controls;
    for (QWidget *widget : container->findChildren<QWidget *>()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || widget->isWindow())
            continue;
        // A control's own parts (a list's viewport, say) follow it, not the page.
        bool part = false;
        for (QWidget *p = widget->parentWidget(); p && p != container; p = p->parentWidget())
            part = part || (p->focusPolicy() & Qt::TabFocus);
        if (!part)
            controls.append({widget, QRect(widget->mapTo(container, QPoint(0, 0)), widget->size())});
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control &a, const Control &b) { return a.frame.top() < b.frame.top(); });
    // A control whose middle lies beside the first control of a row joins that row.
    for (qsizetype rowStart = 0; rowStart < controls.size();) {
        const QRect first = controls.at(rowStart).frame;
        qsizetype rowEnd = rowStart + 1;
        while (rowEnd < controls.size() && controls.at(rowEnd).frame.center().y() <= first.bottom())
            ++rowEnd;
        std::stable_sort(controls.begin() + rowStart, controls.begin() + rowEnd,
                         [](const Control &a, const Control &b) { return a.frame.left() < b.frame.left(); });
        rowStart = rowEnd;
    }
    if (controls.isEmpty())
        return;
    // Qt leaves a pair alone when the second already follows the first, reading the chain as a
    // ring; in a container that is still a window of its own, the last control then seems to
    // precede the first, and the chain would start wherever it happened to. Anchored at the
    // container, it starts with the first control, also once the container joins another window.
    const Qt::FocusPolicy policy = container->focusPolicy();
    container->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(container, controls.first().widget);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls.at(i - 1).widget, controls.at(i).widget);
    container->setFocusPolicy(policy);
}

} // namespace pelbrook
