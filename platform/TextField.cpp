#include "platform/TextField.h"

#include "platform/Focus.h"
#include "platform/Palette.h"

#include <QPainter>

namespace pelbrook {

namespace {

constexpr int Padding = 6;
constexpr double Radius = 5;
constexpr double RingWidth = 2;
const QColor BorderGrey(0xc7, 0xc7, 0xcc);

} // namespace

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    // The field draws its own background and border; the line edit only its text.
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
    if (m_shielded) {
        // The same look, drawn by a style sheet that outranks the host's.
        setStyleSheet((rounded ? QStringLiteral("QLineEdit { border: 1px solid #c7c7cc; border-radius: 5px; padding: 0 6px; "
                                                "background: white; color: black; }")
                               : QStringLiteral("QLineEdit { border: none; padding: 0 6px; background: transparent; color: black; }"))
                      + keyboardRingStyleSheet(QStringLiteral("QLineEdit"), rounded ? 1 : 0, Padding, int(Radius)));
        setTextMargins(0, 0, 0, 0);
        return;
    }
    // The border's width joins the padding, so the text lies where it would in a bare field
    // one pixel further in; the keyboard's ring takes from the padding, not the text.
    const int border = rounded ? 1 : 0;
    setTextMargins(Padding + border, border, Padding + border, border);
    update();
}

void TextField::paintEvent(QPaintEvent *event)
{
    if (!m_shielded) {
        QPainter painter(this);
        const QRectF frame(rect());
        if (m_rounded)
            fillRounded(painter, frame, Radius, Qt::white);
        if (hasKeyboardFocusMark(this))
            drawRoundedBorder(painter, frame, RingWidth, Radius, screenPalette().color(QPalette::Highlight));
        else if (m_rounded)
            drawRoundedBorder(painter, frame, 1, Radius, BorderGrey);
    }
    QLineEdit::paintEvent(event);
}

} // namespace pelbrook
