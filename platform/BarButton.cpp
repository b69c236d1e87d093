#include "platform/BarButton.h"

#include "platform/Focus.h"
#include "platform/Palette.h"

#include <QPainter>

namespace pelbrook {

namespace {

constexpr double Radius = 6;

} // namespace

BarButton::BarButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    trackKeyboardFocus(this);
    if (hostUsesStyleSheet()) {
        // The same look, drawn by a style sheet that outranks the host's.
        setStyleSheet(QStringLiteral("QToolButton { border: none; border-radius: 6px; }"
                                     "QToolButton:pressed { background: rgba(0, 0, 0, 0.08); }")
                      + keyboardRingStyleSheet(QStringLiteral("QToolButton"), 0, 0, int(Radius)));
    }
}

void BarButton::paintEvent(QPaintEvent *event)
{
    if (!styleSheet().isEmpty()) {
        QToolButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRectF frame(rect());
    if (isDown())
        fillRounded(painter, frame, Radius, QColor(0, 0, 0, qRound(0.08 * 255)));
    if (hasKeyboardFocusMark(this))
        drawRoundedBorder(painter, frame, 2, Radius, screenPalette().color(QPalette::Highlight));
    if (icon().isNull()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter, text());
        return;
    }
    const QPixmap image = icon().pixmap(iconSize(), devicePixelRatioF());
    const QRect area(QPoint(0, 0), image.deviceIndependentSize().toSize());
    painter.drawPixmap(area.translated(rect().center() - area.center()), image);
}

} // namespace pelbrook
