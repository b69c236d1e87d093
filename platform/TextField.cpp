#include "platform/TextField.h"

#include "platform/Focus.h"
#include "platform/Palette.h"

#include <QEvent>
#include <QPainter>

namespace pelbrook {

namespace {

constexpr int Padding = 6;
constexpr int Radius = 5;
const QColor BorderGrey(0xc7, 0xc7, 0xcc);

} // namespace

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, Qt::black);
    // The placeholder is the text's colour half let through.
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    palette.setBrush(QPalette::Base, Qt::transparent);
    setPalette(palette);
    trackKeyboardFocus(this);
    setRoundedBorder(true);
}

void TextField::setRoundedBorder(bool rounded)
{
    m_rounded = rounded;
    m_shielded = hostUsesStyleSheet();
    setFrame(m_shielded);
    const int border = rounded ? 1 : 0;
    if (m_shielded) {
        // The same look, drawn by a style sheet that outranks the host's.
        const QString look = rounded ? QStringLiteral("border: %1px solid %2; border-radius: %3px; background: white;")
                                           .arg(border).arg(BorderGrey.name()).arg(Radius)
                                     : QStringLiteral("border: none; background: transparent;");
        setStyleSheet(QStringLiteral("QLineEdit { %1 padding: 0 %2px; color: black; }").arg(look).arg(Padding)
                      + keyboardRingStyleSheet(QStringLiteral("QLineEdit"), border, Padding, Radius));
        setTextMargins(0, 0, 0, 0);
        return;
    }
    // Painted: no sheet of its own left from a host's style sheet that has gone.
    if (!styleSheet().isEmpty())
        setStyleSheet(QString());
    // The border's width joins the padding, so the text lies where it would in a bare field
    // one pixel further in; the keyboard's ring takes from the padding, not the text.
    setTextMargins(Padding + border, border, Padding + border, border);
    update();
}

void TextField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    // A host that sets or drops its style sheet while the field is up.
    if (event->type() == QEvent::StyleChange && hostUsesStyleSheet() != m_shielded)
        setRoundedBorder(m_rounded);
}

void TextField::paintEvent(QPaintEvent *event)
{
    if (!m_shielded) {
        QPainter painter(this);
        const QRectF frame(rect());
        if (m_rounded)
            fillRounded(painter, frame, Radius, Qt::white);
        if (hasKeyboardFocusMark(this))
            drawRoundedBorder(painter, frame, KeyboardRingWidth, Radius, screenPalette().color(QPalette::Highlight));
        else if (m_rounded)
            drawRoundedBorder(painter, frame, 1, Radius, BorderGrey);
    }
    QLineEdit::paintEvent(event);
}

} // namespace pelbrook
