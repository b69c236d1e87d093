#include "core/InputHint.h"

#include "platform/ui/Font.h"
#include "platform/ui/Palette.h"

#include <QAccessible>
#include <QLabel>

namespace pelbrook {

namespace {

constexpr int GapAbovePayButton = 4;

} // namespace

void InputHint::makeLabel(QWidget *parent)
{
    m_label = new QLabel(parent);
    m_label->setObjectName(QStringLiteral("inputHintLabel"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_label->setFont(fontNamed(QStringLiteral("Helvetica Neue"), 13));
    // A dark red: plain red is too light to read as small text on the white screen (about 4:1),
    // this one is over 7:1. Fixed, so a dark host palette cannot turn it pale.
    setTextColour(m_label, QColor(0xb0, 0x00, 0x20));
    m_label->hide();
}

void InputHint::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        clear();
}

void InputHint::show(const QString &text)
{
    if (!m_enabled || text.isEmpty() || !m_label)
        return;
    m_label->setText(text);
    m_label->show();
    // A buyer who cannot see the screen must still hear why nothing happened.
    QAccessibleEvent nameChanged(m_label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent alert(m_label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void InputHint::clear()
{
    if (!m_label || (m_label->text().isEmpty() && m_label->isHidden()))
        return;
    m_label->clear();
    m_label->hide();
}

void InputHint::place(const QRect &payButtonGeometry)
{
    m_payButton = payButtonGeometry;
    if (m_payButton.isEmpty())
        return;
    const int height = reservedHeight();
    m_label->setGeometry(m_payButton.left(), m_payButton.top() - GapAbovePayButton - height, m_payButton.width(), height);
}

int InputHint::reservedHeight() const
{
    return 2 * m_label->fontMetrics().lineSpacing();
}

int InputHint::roomNeeded() const
{
    return reservedHeight() + 2 * GapAbovePayButton;
}

} // namespace pelbrook
