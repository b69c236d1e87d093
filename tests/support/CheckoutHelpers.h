#pragma once

// Small helpers the screen and container tests share.

#include "LogCapture.h"
#include "SandboxProcess.h"
#include "ScriptedHttpServer.h"

#include "core/CheckoutContext.h"
#include "platform/web/BrowserView.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController_p.h"
#include "platform/net/WorkerPool.h"

#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/ResultDelegate.h>
#include <pelbrook/TabBarController.h>
#include <pelbrook/cardViewController.h>
#include <pelbrook/netBankingViewController.h>
#include <pelbrook/upiViewController.h>
#include <pelbrook/walletViewController.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>
#include <optional>

/// A phone-sized container: a 390 x 844 screen below the navigation bar and above the tab bar.
inline const QSize Phone(390, 844 + pelbrook::NavigationController::BarHeight + pelbrook::TabBarHeight);

/// The order and merchant most tests pay with: configure({}) takes them as they are, and a test
/// names only what it is about, as in configure({.env = "PROD", .token = {}}) (designated fields
/// in this order).
struct Config {
    QString env = QStringLiteral("TEST");
    QString appId = QStringLiteral("sandbox-app");
    QString tokenUrl = QString();
    QString merchantName = QStringLiteral("Acme Books");
    QStringList wallets{QStringLiteral("paytm"), QStringLiteral("airtel"), QStringLiteral("acme")};
    QString tezOption = QStringLiteral("YES");
    QString color1 = QStringLiteral("2f6fde");
    QString color2 = QStringLiteral("6a3fd0");
    QString orderId = QStringLiteral("ORD1");
    QString amount = QStringLiteral("100.00");
    QString email = QStringLiteral("buyer@example.com");
    QString phone = QStringLiteral("9999999999");
    QString token = QStringLiteral("tok");
    QString note = QStringLiteral("Two books");
    QString name = QStringLiteral("Asha Rao");
    QString currency = QStringLiteral("INR");
    QString notifyUrl = QString();
};

/// Configures the checkout and creates its order through the public entry points, as a host does.
inline void configure(const Config &c)
{
    pelbrook::PGTabBarViewController entry;
    entry.setConfig(c.env, c.appId, c.tokenUrl, c.merchantName, c.wallets, c.tezOption, c.color1, c.color2);
    entry.createOrder(c.orderId, c.amount, c.email, c.phone, c.token, c.note, c.name, c.currency, c.notifyUrl);
}

/// Points the library at loopback ports where nothing listens: a test that never reaches the
/// gateway or the bank list fails to reach them at once, with no name lookup.
inline void useUnreachableEndpoints()
{
    pelbrook::Endpoints endpoints;
    endpoints.testGateway = QUrl(QStringLiteral("https://127.0.0.1:9"));
    endpoints.productionGateway = QUrl(QStringLiteral("https://127.0.0.1:7"));
    endpoints.bankList = QUrl(QStringLiteral("http://127.0.0.1:9/pg/iosbanks.json"));
    pelbrook::setEndpoints(endpoints);
}

/// Points one of the library's endpoints, such as the bank list, at @p url.
inline void useEndpoint(QUrl pelbrook::Endpoints::*endpoint, const QUrl &url)
{
    pelbrook::Endpoints endpoints = pelbrook::endpoints();
    endpoints.*endpoint = url;
    pelbrook::setEndpoints(endpoints);
}

/// Where most tests start: nothing reachable, and the order @p c.
inline void configureOffline(const Config &c = {})
{
    useUnreachableEndpoints();
    configure(c);
}

/// A host's delegate that records every result it is given.
class CountingDelegate : public pelbrook::ResultDelegate
{
public:
    void onPaymentResult(const QString &result) override { results << result; }
    QStringList results;
};

/// Where @p w lies in @p root's coordinates.
inline QRect inRoot(QWidget *w, QWidget *root)
{
    return QRect(w->mapTo(root, QPoint(0, 0)), w->size());
}

/// A click (a tap) where row @p row of the grid or list @p view is drawn.
inline void clickItem(QAbstractItemView *view, int row)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

/// The widget named @p name that the buyer sees under @p root (the shown tab's, of several).
template<typename T = QWidget>
T *visibleChild(const QWidget &root, const QString &name)
{
    for (T *child : root.findChildren<T *>(name)) {
        if (child->isVisible())
            return child;
    }
    return nullptr;
}

/// The names a screen reader gives the items of @p view, in order.
inline QStringList itemNames(const QAbstractItemView *view)
{
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        names << view->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
    return names;
}

/// The first value of the form field @p name, or "<absent>".
inline QString formValue(const QList<QPair<QString, QString>> &form, const QString &name)
{
    for (const auto &[n, v] : form) {
        if (n == name)
            return v;
    }
    return QStringLiteral("<absent>");
}

/// The text of @p view's page (its HTML with @p html), once the engine has handed it over.
inline QString pageText(pelbrook::BrowserView *view, bool html = false)
{
    // Shared with the callback, which may come after the wait has given up.
    const auto text = std::make_shared<std::optional<QString>>();
    const auto take = [text](const QString &t) { *text = t; };
    if (html)
        view->page()->toHtml(take);
    else
        view->page()->toPlainText(take);
    return QTest::qWaitFor([&] { return text->has_value(); }, 10000) ? **text : QStringLiteral("<no text>");
}

/// Fills the card form under @p root with a test card that the sandbox approves, as the demo
/// does (the expiry fields take their text from a picker, so it is inserted, not typed).
inline void fillCardDetails(QWidget *root)
{
    const QList<QPair<const char *, QString>> fields = {
        {"cardNumberTextField", QStringLiteral("4111111111111111")}, {"cardHolderNameTextField", QStringLiteral("Asha Rao")},
        {"cardExpiryMonthTextField", QStringLiteral("12")}, {"cardExpiryYearTextField", QStringLiteral("30")},
        {"cardCvcTextField", QStringLiteral("123")}};
    for (const auto &[name, text] : fields) {
        if (auto *field = root->findChild<QLineEdit *>(QLatin1String(name))) {
            field->setFocus();
            field->insert(text);
        }
    }
}

/// Lets every event posted so far be delivered, deferred deletions included: a queued call
/// posted now runs only after them. A test that shows something does not happen waits on this
/// once the cause has been handled, rather than for a while.
inline bool eventLoopRoundTrip()
{
    bool done = false;
    QObject context;
    QMetaObject::invokeMethod(&context, [&done] { done = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&done] { return done; }, 10000);
}

/// Lets the HTTP client finish with a request, and a bank list read on the library's worker
/// thread arrive: until the worker is idle and what it posted back has been handled.
inline bool settle()
{
    do {
        if (!pelbrook::workerPool().waitForDone(20000) || !eventLoopRoundTrip())
            return false;
    } while (pelbrook::workerPool().activeThreadCount() > 0);
    return true;
}

/// A dark desktop, as some hosts have.
inline QPalette darkPalette()
{
    QPalette dark(QColor(0x30, 0x30, 0x30));
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base})
        dark.setColor(role, QColor(0x20, 0x20, 0x20));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Highlight, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::HighlightedText, QColor(0x20, 0x20, 0x20));
    return dark;
}

/// Gives the application a host's desktop palette for as long as it lives.
struct HostPalette {
    explicit HostPalette(const QPalette &palette) { QApplication::setPalette(palette); }
    ~HostPalette() { QApplication::setPalette(m_host); }
    const QPalette m_host = QApplication::palette();
};

/// The tabs, in the order the container shows them.
enum CheckoutTab { CardsTab, NetBankingTab, WalletsTab, UpiTab };

/// A checkout presented at a phone's size (or @p size) with one tab shown; the buyer works it
/// through its widgets and the keyboard.
struct Checkout {
    explicit Checkout(int tab = CardsTab, QSize size = Phone)
    {
        container.resize(size);
        container.present();
        container.activateWindow();
        container.setSelectedIndex(tab);
        screen = pelbrook::containerTabs::viewControllers(container).at(tab)->rootViewController();
    }
    /// The widget named @p name on the shown tab, its navigation bar included.
    template<typename T = QWidget>
    T *find(const char *name) const
    {
        return screen->navigationController()->findChild<T *>(QLatin1String(name));
    }
    QLineEdit *field(const char *name) const { return find<QLineEdit>(name); }
    QWidget *root() const { return screen->view(); }
    QWidget *focused() const { return container.window()->focusWidget(); }
    QString focusedName() const { return focused() ? focused()->objectName() : QStringLiteral("<none>"); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(focused(), Qt::Key(key), modifiers); }
    void type(const QString &text) { QTest::keyClicks(focused(), text); }
    /// Presses Tab until @p target has the focus, at most a lap of the screen and its bars, as a
    /// keyboard user gets there.
    bool tabTo(QWidget *target)
    {
        for (int i = 0; i < 12 && focused() != target; ++i)
            press(Qt::Key_Tab);
        return focused() == target;
    }
    bool tabTo(const char *name) { return tabTo(name == QLatin1String("tabBar") ? container.tabBar() : find(name)); }
    /// The busy overlay over the screen, while a payment starts.
    bool overlayShown() const
    {
        QWidget *overlay = root()->findChild<QWidget *>(QStringLiteral("containerView"));
        return overlay && overlay->isVisible();
    }
    pelbrook::BrowserView *webView() const { return root()->findChild<pelbrook::BrowserView *>(); }

    pelbrook::PGTabBarViewController container;
    pelbrook::ViewController *screen = nullptr;
};
