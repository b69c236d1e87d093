#include "core/GatewayNotice.h"

#include "platform/ui/Font.h"
#include "platform/ui/Palette.h"

#include <QAccessible>
#include <QLabel>
#include <QVBoxLayout>

namespace pelbrook {

GatewayNotice::GatewayNotice(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("gatewayNotice"));
    setPalette(screenPalette());
    setAutoFillBackground(true);
    // Clicks stop here: nothing of the dead page beneath is reachable.
    setAttribute(Qt::WA_NoMousePropagation);
    // It takes the keyboard from the page beneath; Escape then closes the checkout.
    setFocusPolicy(Qt::StrongFocus);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("gatewayNoticeText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setFont(fontNamed(QStringLiteral("Helvetica Neue"), 18));
    m_text->setMaximumWidth(440);
    column->addStretch(1);
    column->addWidget(m_text, 0, Qt::AlignHCenter);
    column->addStretch(2);
    hide();
}

QString GatewayNotice::textFor(Kind kind)
{
    switch (kind) {
    case Kind::Unreachable:
        return tr("The payment page could not be reached. No payment was made.");
    case Kind::ConnectionLost:
        break;
    }
    return tr("The connection to the payment page was lost. Your payment may still go through; the shop will confirm it.");
}

void GatewayNotice::showNotice(Kind kind)
{
    m_text->setText(textFor(kind));
    setAccessibleName(m_text->text());
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    // Screen readers hear it as soon as it shows, as they would an alert.
    QAccessibleEvent announced(m_text, QAccessible::Alert);
    QAccessible::updateAccessibility(&announced);
}

} // namespace pelbrook
