#include "Checkout.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QApplication>
#include <QQmlInfo>
#include <QQuickItem>
#include <QQuickWindow>

namespace pelbrook {

namespace {

// The Qt Quick window this object was declared in, if any: a non-visual object declared inside
// an item has that item as its parent, and one declared in a window has the window.
QWindow *owningWindow(QObject *object)
{
    for (QObject *o = object->parent(); o; o = o->parent()) {
        if (auto *item = qobject_cast<QQuickItem *>(o))
            return item->window();
        if (auto *window = qobject_cast<QWindow *>(o))
            return window;
    }
    return nullptr;
}

} // namespace

Checkout::Checkout(QObject *parent)
    : QObject(parent)
{
}

Checkout::~Checkout()
{
    // Closing now would call back into this half-destroyed object.
    delete releaseContainer();
}

PGTabBarViewController *Checkout::releaseContainer()
{
    PGTabBarViewController *container = m_container;
    if (container) {
        container->disconnect(this);
    }
    m_container = nullptr;
    return container;
}

int Checkout::selectedIndex() const
{
    return m_container ? m_container->selectedIndex() : m_selectedIndex;
}

void Checkout::setSelectedIndex(int index)
{
    if (index == selectedIndex())
        return;
    m_selectedIndex = index;
    if (m_container)
        m_container->setSelectedIndex(index);   // reported back by the container
    else
        Q_EMIT selectedIndexChanged();
}

void Checkout::setShowsInputHints(bool shows)
{
    if (shows == m_showsInputHints)
        return;
    m_showsInputHints = shows;
    if (m_container)
        m_container->setShowsInputHints(shows);
    Q_EMIT showsInputHintsChanged();
}

bool Checkout::isPresented() const
{
    return m_container && m_container->isVisible();
}

void Checkout::present()
{
    if (m_container) {
        // Hidden, it is closing (this is a handler of its paymentInterrupted()): a new checkout
        // is made once the closing one has been let go.
        if (m_container->isVisible())
            m_container->present();
        else
            QMetaObject::invokeMethod(this, &Checkout::present, Qt::QueuedConnection);
        return;
    }
    // A widget made without a QApplication would abort the whole application.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        qmlWarning(this) << "Checkout needs a QApplication, not a QGuiApplication: the checkout is made of widgets";
        return;
    }
    m_container = new PGTabBarViewController;
    m_container->setAttribute(Qt::WA_DeleteOnClose);
    m_container->setShowsInputHints(m_showsInputHints);
    m_container->setConfig(m_env, m_appId, m_url, m_merchantName, m_walletArray, m_tezOption, m_color1Hex, m_color2Hex);
    m_container->createOrder(m_orderId, m_orderAmount, m_customerEmail, m_customerPhone, m_paymentReady, m_orderNote,
                             m_customerName, m_orderCurrency, m_notifyUrl);
    if (!m_result.isEmpty()) {
        // createOrder() forgot the previous order's result; so does this object.
        m_result.clear();
        Q_EMIT resultChanged();
    }
    connect(m_container, &PGTabBarViewController::paymentResult, this, [this](const QString &result) {
        m_result = result;
        Q_EMIT resultChanged();
        Q_EMIT paymentResult(result);
    });
    connect(m_container, &PGTabBarViewController::paymentInterrupted, this, &Checkout::paymentInterrupted);
    connect(m_container, &PGTabBarViewController::dismissed, this, [this] {
        // The closed checkout deletes itself once control returns to the event loop; forgotten
        // now, a present() from a dismissed() handler makes a new one from the properties as
        // they are then, instead of showing the doomed one again.
        releaseContainer();
        Q_EMIT presentedChanged();
        Q_EMIT dismissed();
    });
    showOverOwnersWindow();
    // The tabs exist once the checkout is shown; it is not painted before this call returns, so
    // the buyer sees the chosen tab first.
    m_container->setSelectedIndex(m_selectedIndex);
    connect(m_container, &TabBarController::selectedIndexChanged, this, [this](int index) {
        m_selectedIndex = index;
        Q_EMIT selectedIndexChanged();
    });
    Q_EMIT presentedChanged();
}

void Checkout::showOverOwnersWindow()
{
    if (QWindow *owner = owningWindow(this)) {
        // Like a dialog over the application's window, which waits until the checkout closes.
        m_container->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        m_container->setWindowModality(Qt::WindowModal);
        m_container->winId();
        // present() centres it over this window.
        m_container->windowHandle()->setTransientParent(owner);
    }
    m_container->present();
}

void Checkout::close()
{
    if (m_container)
        m_container->cancelTapped();
}

} // namespace pelbrook
