#include "platform/Toolbar.h"

#include "platform/Resources.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace pelbrook {

Toolbar::Toolbar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("toolbar"));
    setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 0, 16, 0);
    layout->addStretch();
    restyle();
}

void Toolbar::setBarTintColor(const QColor &color)
{
    m_barTint = color;
    restyle();
}

void Toolbar::setTintColor(const QColor &color)
{
    m_tint = color;
    restyle();
}

void Toolbar::setItems(const QList<BarButtonItem> &items)
{
    auto *row = static_cast<QHBoxLayout *>(layout());
    for (QToolButton *old : findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    int position = 0;
    for (const BarButtonItem &item : items) {
        auto *button = new QToolButton(this);
        button->setObjectName(item.objectName);
        button->setText(item.title);
        button->setAccessibleName(item.title);
        if (!item.image.isNull())
            button->setIcon(iconFor(item.image));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        const auto action = item.action;
        connect(button, &QToolButton::clicked, this, [button, action]() {
            if (action)
                action(button);
        });
        row->insertWidget(position++, button);
    }
    restyle();
}

void Toolbar::sizeToFit()
{
    setFixedHeight(BarHeight);
}

void Toolbar::restyle()
{
    setStyleSheet(QStringLiteral("pelbrook--Toolbar { background: %1; border-top: 1px solid #c8c7cc; border-bottom: 1px solid #c8c7cc; }"
                                 "QToolButton { color: %2; font-size: 17px; border: none; padding: 6px 4px; background: transparent; }"
                                 "QToolButton:pressed { color: %3; }")
                      .arg(m_barTint.name(), m_tint.name(), m_tint.lighter(160).name()));
}

} // namespace pelbrook
