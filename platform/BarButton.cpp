#include "platform/BarButton.h"

#include "platform/Focus.h"
#include "platform/Palette.h"

#include <QEvent>
#include <QPainter>

namespace pelbrook {

namespace {

constexpr int Radius = 6;
// The shade under a finger or a pressed mouse button: black, 8 % opaque.
const QColor PressedShade(0, 0, 0, qRound(0.08 * 255));

} // namespace

BarButton::BarButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    trackKeyboardFocus(this);
    shieldIfNeeded();
}

void BarButton::shieldIfNeeded()
{
    m_shielded = hostUsesStyleSheet();
    // The same look, drawn by a style sheet that outranks the host's; or painted, with no sheet
    // of its own left from a host's that has gone.
    setStyleSheet(m_shielded ? QStringLiteral("QToolButton { border: none; border-radius: %1px; }"
                                              "QToolButton:pressed { background: rgba(0, 0, 0, %2); }")
                                       .arg(Radius)
                                       .arg(PressedShade.alphaF(), 0, 'f', 2)
                                   + keyboardRingStyleSheet(QStringLiteral("QToolButton"), 0, 0, Radius)
                             : QString());
}

void BarButton::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    // A host that sets or drops its style sheet while the button is up.
    if (event->type() == QEvent::StyleChange && hostUsesStyleSheet() != m_shielded)
        shieldIfNeeded();
}

void BarButton::paintEvent(QPaintEvent *event)
{
    if (m_shielded) {
        QToolButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRectF frame(rect());
    if (isDown())
        fillRounded(painter, frame, Radius, PressedShade);
    if (hasKeyboardFocusMark(this))
        drawRoundedBorder(painter, frame, KeyboardRingWidth, Radius, screenPalette().color(QPalette::Highlight));
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
