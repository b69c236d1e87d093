// The checkout container as a host meets it: its browser's start, every way of closing it,
// presenting it over a host window or again, and a missing resource bundle.

#include "CheckoutHelpers.h"

#include "platform/web/BrowserProfile_p.h"

#include <QScreen>
#include <QStackedWidget>
#include <QWindow>

using namespace pelbrook;

namespace {

// Whether the browser engine had started when the cards screen was first painted.
class EngineAtFirstPaint : public QObject
{
public:
    bool painted = false;
    bool engineAtFirstPaint = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted && event->type() == QEvent::Paint && watched->objectName() == QLatin1String("cardViewController")) {
            painted = true;
            engineAtFirstPaint = browserEngineStarted();
        }
        return false;
    }
};

// What a host does with a screen.
using HostCall = std::function<void(ViewController *)>;

template<typename Screen>
HostCall hostCall(void (Screen::*method)())
{
    return [method](ViewController *screen) { (static_cast<Screen *>(screen)->*method)(); };
}

} // namespace

Q_DECLARE_METATYPE(HostCall)

class ContainerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { configureOffline(); }

    // First in this process: nothing before it may have started the browser engine.
    void theBrowserStartsAfterTheFirstFrame()
    {
        QVERIFY(!browserEngineStarted());
        PGTabBarViewController container;
        container.resize(Phone);
        EngineAtFirstPaint probe;
        qApp->installEventFilter(&probe);
        auto removeProbe = qScopeGuard([&] { qApp->removeEventFilter(&probe); });
        container.present();
        QVERIFY(!browserEngineStarted());
        auto *cards = container.findChild<BrowserView *>(QStringLiteral("cardWebView"));
        QVERIFY(cards);
        QSignalSpy cardsLoaded(cards, &BrowserView::loadFinished);

        // Starting the engine holds the main thread far longer than a frame: the cards screen
        // is painted first.
        QTRY_VERIFY_WITH_TIMEOUT(probe.painted, 10000);
        QVERIFY(!probe.engineAtFirstPaint);
        // Then its browser gets ready while the buyer types: the engine, its own page on the
        // library's profile, an empty document loaded out of sight.
        QTRY_VERIFY_WITH_TIMEOUT(!cardsLoaded.isEmpty(), 15000);
        QVERIFY(browserEngineStarted());
        QVERIFY(cards->page()->profile()->isOffTheRecord());
        QVERIFY(cards->isHidden());
    }

    void everyWayOfClosing_data()
    {
        QTest::addColumn<QString>("how");
        // (Every tab's close button closes it in missingResourceBundle; they share one handler.)
        QTest::newRow("close button on UPI") << "button 3";
        QTest::newRow("the window's close button") << "window";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("the host's dismiss()") << "dismiss";
        QTest::newRow("the host's hide()") << "hide";
    }
    void everyWayOfClosing()
    {
        QFETCH(QString, how);
        CheckoutContext::shared().result_global = QStringLiteral("kept");
        PGTabBarViewController container;
        container.resize(Phone);
        auto delegate = std::make_shared<CountingDelegate>();
        container.setResultDelegate(delegate);
        QSignalSpy closed(&container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&container, &PGTabBarViewController::paymentResult);
        QSignalSpy interrupted(&container, &PGTabBarViewController::paymentInterrupted);
        container.present();
        QVERIFY(QTest::qWaitForWindowActive(&container));
        if (how.startsWith(QLatin1String("button"))) {
            const int tab = how.mid(7).toInt();
            container.setSelectedIndex(tab);
            QToolButton *button = containerTabs::viewControllers(container)[tab]->rootViewController()->navigationController()
                                      ->findChild<QToolButton *>(QStringLiteral("closeButton"));
            QVERIFY(button && button->isVisible());
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (how == QLatin1String("window")) {
            container.windowHandle()->close();
        } else if (how == QLatin1String("escape")) {
            auto *number = container.findChild<QLineEdit *>(QStringLiteral("cardNumberTextField"));
            number->setFocus();
            QTest::keyClicks(number, QStringLiteral("4111"));
            QTest::keyClick(number, Qt::Key_Escape);
        } else if (how == QLatin1String("dismiss")) {
            container.dismiss();
        } else {
            container.hide();
        }
        QCOMPARE(closed.count(), 1);
        // Nothing went to the gateway: the host knows the buyer did not pay.
        QCOMPARE(interrupted.count(), 0);
        QVERIFY(!container.isVisible());
        QCOMPARE(container.getResult(), QStringLiteral("kept"));
        QVERIFY(delegate->results.isEmpty());
        QCOMPARE(results.count(), 0);
        // Closing what is closed already says nothing more.
        container.dismiss();
        container.hide();
        QCOMPARE(closed.count(), 1);
    }

    // Hints set before the first showing reach the screens of a later one, show on every tab
    // where the buyer can see them, and go at once when turned off.
    void inputHintsOnEveryScreen_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("env");
        QTest::addColumn<QString>("payButton");
        QTest::addColumn<QString>("hint"); // empty: the payment starts
        QTest::newRow("Cards") << 0 << "TEST" << "cardPayButton" << "Enter a 16 Digit Card Number";
        QTest::newRow("Net Banking, no bank") << 1 << "PROD" << "nb_paySecurelyBtn" << "Select a Bank";
        QTest::newRow("Net Banking, TEST preset") << 1 << "TEST" << "nb_paySecurelyBtn" << "";
        QTest::newRow("Wallets") << 2 << "TEST" << "wallet_paySecurelyBtn" << "Select a Wallet";
        QTest::newRow("UPI") << 3 << "TEST" << "upiPayButton" << "UPI VPA is empty.";
    }
    void inputHintsOnEveryScreen()
    {
        QFETCH(int, tab);
        QFETCH(QString, env);
        QFETCH(QString, payButton);
        QFETCH(QString, hint);
        CheckoutContext::shared().env_global = env;
        PGTabBarViewController container;
        container.resize(Phone);
        container.setShowsInputHints(true);
        container.present();
        container.dismiss();
        container.present();
        container.setSelectedIndex(tab);
        QWidget *root = containerTabs::viewControllers(container)[tab]->rootViewController()->view();
        auto *pay = root->findChild<QAbstractButton *>(payButton);
        auto *label = root->findChild<QLabel *>(QStringLiteral("inputHintLabel"));
        QTest::mouseClick(pay, Qt::LeftButton);
        QCOMPARE(label->isVisible(), !hint.isEmpty());
        QCOMPARE(pay->isVisible(), !hint.isEmpty());
        if (hint.isEmpty())
            return;
        QCOMPARE(label->text(), hint);
        // Drawn where the buyer sees it: some of its red is not covered by a list or a grid.
        const QImage drawn = root->grab(inRoot(label, root)).toImage();
        bool red = false;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                red = red || (qRed(drawn.pixel(x, y)) > 120 && qGreen(drawn.pixel(x, y)) < 80);
        QVERIFY(red);
        container.setShowsInputHints(false);
        QVERIFY(label->isHidden());
    }

    // A host may present the checkout again, or delete it, from inside its dismissed() handler
    // while the payment's hand-back is still being handled.
    void hostActsOnTheDismissalOfAPayment_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("present again") << "present";
        QTest::newRow("present again, deleted on close") << "present, delete on close";
        QTest::newRow("delete") << "delete";
        QTest::newRow("delete from the delegate") << "delegate";
    }
    void hostActsOnTheDismissalOfAPayment()
    {
        QFETCH(QString, action);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        configure({.token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});
        auto *container = new PGTabBarViewController;
        QPointer<PGTabBarViewController> alive(container);
        container->resize(Phone);
        const bool deleteOnClose = action.endsWith(QLatin1String("delete on close"));
        container->setAttribute(Qt::WA_DeleteOnClose, deleteOnClose);
        int dismissals = 0;
        int interruptions = 0;
        connect(container, &PGTabBarViewController::paymentInterrupted, this, [&] { ++interruptions; });
        struct Deleting : ResultDelegate {
            QPointer<PGTabBarViewController> doomed;
            void onPaymentResult(const QString &) override { delete doomed.data(); }
        };
        if (action == QLatin1String("delegate")) {
            auto deleting = std::make_shared<Deleting>();
            deleting->doomed = container;
            container->setResultDelegate(deleting);
        }
        connect(container, &PGTabBarViewController::dismissed, this, [&, container] {
            if (++dismissals > 1)
                return;
            if (action == QLatin1String("delete")) {
                delete container;
            } else {
                container->createOrder(QStringLiteral("ORD2"), QStringLiteral("5.00"), {}, {}, QStringLiteral("tok"), {}, {}, {}, {});
                container->present();
            }
        });
        container->present();
        QTest::keyClicks(container->findChild<QLineEdit *>(QStringLiteral("cardNumberTextField")), QStringLiteral("4111111111111111"));
        QTest::mouseClick(container->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        if (action == QLatin1String("delegate")) {
            QTRY_VERIFY_WITH_TIMEOUT(!alive, 30000);
            // Whatever the deletion left queued runs without it.
            QVERIFY(eventLoopRoundTrip());
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(dismissals, 1, 30000);
        QCOMPARE(interruptions, 0);
        QVERIFY(eventLoopRoundTrip());
        if (action == QLatin1String("delete")) {
            QVERIFY(!alive);
            return;
        }
        // Presented again, with fresh screens, it takes a second payment.
        QTRY_VERIFY(alive && alive->isVisible());
        auto *card = qobject_cast<cardViewController *>(containerTabs::viewControllers(*alive)[0]->rootViewController());
        QCOMPARE(card->orderId(), QStringLiteral("ORD2"));
        if (deleteOnClose) {
            // The close that was under way did not delete it (a deletion it asked for would have
            // run by now); its next close does.
            QVERIFY(eventLoopRoundTrip());
            QVERIFY(alive && alive->isVisible());
            alive->dismiss();
            QTRY_COMPARE(dismissals, 2);
            QTRY_VERIFY(!alive);
            return;
        }
        // A new order while it is shown, closed and presented again: new screens, with its values.
        alive->createOrder(QStringLiteral("ORD3"), QStringLiteral("250.00"), {}, {},
                           sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD3"), QStringLiteral("250.00")), {}, {},
                           QStringLiteral("INR"), {});
        QPointer<ViewController> old = containerTabs::viewControllers(*alive)[0]->rootViewController();
        alive->dismiss();
        QTRY_COMPARE(dismissals, 2);
        alive->present();
        QTRY_VERIFY(alive->isVisible());
        QTRY_VERIFY(!old);
        QWidget *fresh = containerTabs::viewControllers(*alive)[0]->rootViewController()->view();
        QCOMPARE(fresh->findChild<QLabel *>(QStringLiteral("orderAmountLabel"))->text(), QStringLiteral("- INR 250.00"));
        QTest::keyClicks(fresh->findChild<QLineEdit *>(QStringLiteral("cardNumberTextField")), QStringLiteral("4111111111111111"));
        QTest::mouseClick(fresh->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dismissals, 3, 30000);
        QCOMPARE(QJsonDocument::fromJson(alive->getResult().toUtf8()).object().value(QStringLiteral("orderId")).toString(),
                 QStringLiteral("ORD3"));
        delete alive.data();
    }

    void closedOnTheGatewaysPage_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close button") << "button";
        QTest::newRow("the window's close button") << "window";
        QTest::newRow("a hand-back without a result") << "unreadable";
    }
    // The checkout closes on the gateway's page without a result: the host learns that the
    // outcome is unknown, and nothing from the page after that: the page is gone.
    void closedOnTheGatewaysPage()
    {
        QFETCH(QString, how);
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        configure({.token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});
        CheckoutContext::shared().result_global = QStringLiteral("kept");
        PGTabBarViewController container;
        container.resize(Phone);
        auto delegate = std::make_shared<CountingDelegate>();
        container.setResultDelegate(delegate);
        QSignalSpy results(&container, &PGTabBarViewController::paymentResult);
        QStringList heard;
        connect(&container, &PGTabBarViewController::paymentInterrupted, this, [&] { heard << QStringLiteral("interrupted"); });
        connect(&container, &PGTabBarViewController::dismissed, this, [&] { heard << QStringLiteral("dismissed"); });
        container.present();
        auto *web = container.findChild<BrowserView *>(QStringLiteral("cardWebView"));
        QTest::keyClicks(container.findChild<QLineEdit *>(QStringLiteral("cardNumberTextField")), QStringLiteral("4111111111111111"));
        QTest::mouseClick(container.findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(web->url().path().endsWith(QLatin1String("submit-transparent")), 30000);
        if (how == QLatin1String("button"))
            QTest::mouseClick(visibleChild<QAbstractButton>(container, QStringLiteral("closeButton")), Qt::LeftButton);
        else if (how == QLatin1String("window"))
            container.windowHandle()->close();
        else
            web->page()->setUrl(QUrl(QStringLiteral("ios-sdk://r")));
        QTRY_VERIFY(!container.isVisible());
        QCOMPARE(heard, (QStringList{QStringLiteral("interrupted"), QStringLiteral("dismissed")}));
        // The page went with the checkout, and every screen's page with it: none can hand back
        // later, ask the gateway anything or open a dialog.
        QVERIFY(!web->hasPage());
        QTRY_COMPARE_WITH_TIMEOUT(livePageProfiles(), 0, 10000);
        QVERIFY(eventLoopRoundTrip());
        QCOMPARE(container.getResult(), QStringLiteral("kept"));
        QVERIFY(delegate->results.isEmpty());
        QCOMPARE(results.count(), 0);
    }

    // A kiosk's one window with pages: the checkout is one of them, and the host's switching of
    // pages neither closes it nor loses what the buyer typed; its own close does, once.
    void embeddedAsAPageOfTheHostsWindow()
    {
        QStackedWidget pages;
        auto *home = new QWidget;
        auto *checkout = new PGTabBarViewController;
        pages.addWidget(home);
        pages.addWidget(checkout);
        pages.resize(Phone);
        pages.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        QSignalSpy closed(checkout, &PGTabBarViewController::dismissed);
        const auto field = [checkout](const char *name) { return checkout->findChild<QLineEdit *>(QLatin1String(name)); };
        pages.setCurrentWidget(checkout);
        QTest::keyClicks(field("cardNumberTextField"), QStringLiteral("4111"));
        QSignalSpy selections(checkout, &TabBarController::selectedIndexChanged);
        checkout->setSelectedIndex(3);
        QCOMPARE(selections.count(), 1);
        QCOMPARE(selections.last().at(0).toInt(), 3);
        QTest::keyClicks(field("upiVpaTextField"), QStringLiteral("asha"));
        for (int round = 0; round < 2; ++round) {
            pages.setCurrentWidget(home);
            pages.setCurrentWidget(checkout);
        }
        QCOMPARE(closed.count(), 0);
        QVERIFY(!checkout->isWindow());
        QCOMPARE(checkout->selectedIndex(), 3);
        QCOMPARE(field("cardNumberTextField")->text(), QStringLiteral("4111"));
        QCOMPARE(field("upiVpaTextField")->text(), QStringLiteral("asha"));
        // Nor does the host's switching send a payment under way back to the inputs.
        checkout->setSelectedIndex(1);
        QTest::mouseClick(checkout->findChild<QAbstractButton *>(QStringLiteral("nb_paySecurelyBtn")), Qt::LeftButton);
        QVERIFY(containerTabs::isTabBarHidden(*checkout));
        pages.setCurrentWidget(home);
        pages.setCurrentWidget(checkout);
        QVERIFY(eventLoopRoundTrip());
        QVERIFY(containerTabs::isTabBarHidden(*checkout));
        QVERIFY(checkout->findChild<QWidget *>(QStringLiteral("nb_webView"))->isVisible());
        // Its close button closes it; shown again, it starts afresh.
        QTest::mouseClick(visibleChild<QAbstractButton>(*checkout, QStringLiteral("closeButton")), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        pages.setCurrentWidget(home);
        pages.setCurrentWidget(checkout);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(checkout->selectedIndex(), 0);
        // Rebuilt tabs are announced once, with where the selection ended.
        QCOMPARE(selections.count(), 3);
        QCOMPARE(selections.last().at(0).toInt(), 0);
        QVERIFY(field("cardNumberTextField")->text().isEmpty());
        // The host may close it while another page is shown.
        pages.setCurrentWidget(home);
        checkout->dismiss();
        QCOMPARE(closed.count(), 2);
    }

    void presentedOverTheHostsWindow()
    {
        QWidget host;
        host.setWindowTitle(QStringLiteral("Merchant"));
        host.setGeometry(100, 50, 900, 700);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        PGTabBarViewController container(&host);
        container.present();
        QVERIFY(container.isWindow());
        QVERIFY(container.isVisible());
        QCOMPARE(container.windowModality(), Qt::WindowModal);
        QCOMPARE(container.size(), container.defaultSize());
        QVERIFY(container.height() <= container.screen()->availableGeometry().height());
        QVERIFY((container.geometry().center() - host.geometry().center()).manhattanLength() < 4);
        // Alone, it is a window of its own at the same size.
        PGTabBarViewController alone;
        alone.present();
        QVERIFY(alone.isWindow());
        QCOMPARE(alone.size(), alone.defaultSize());
    }

    void chosenCodesAreProperties_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("wallet") << 2 << "walletCollection" << QByteArray("wallet_code") << "4007";
        QTest::newRow("UPI app") << 3 << "upiCollection" << QByteArray("upi_code") << "tez";
    }
    // The codes chosen are readable, and announced, where QML and automation look: as
    // properties, an empty string until there is one.
    void chosenCodesAreProperties()
    {
        QFETCH(int, tab);
        QFETCH(QString, grid);
        QFETCH(QByteArray, name);
        QFETCH(QString, code);
        Checkout c(tab);
        ViewController *screen = c.screen;
        const QMetaProperty property = screen->metaObject()->property(screen->metaObject()->indexOfProperty(name));
        QCOMPARE(property.read(screen).toString(), QString());
        QSignalSpy changed(screen, property.notifySignal());
        for (int again = 0; again < 2; ++again)
            clickItem(c.container.findChild<QAbstractItemView *>(grid), 0);
        QCOMPARE(property.read(screen).toString(), code);
        // Chosen again, it has not changed.
        QCOMPARE(changed.count(), 1);
    }

    // The four screens exist from the start, but a tab the buyer has not opened has nothing
    // built: opening costs what the buyer sees.
    void unseenTabsBuildNothing()
    {
        PGTabBarViewController container;
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        const QList<NavigationController *> wrappers = containerTabs::viewControllers(container);
        QCOMPARE(wrappers.size(), 4);
        QVERIFY(wrappers[0]->navigationBar() && wrappers[0]->leftButton());
        for (NavigationController *unseen : wrappers.mid(1)) {
            QVERIFY(!unseen->navigationBar() && !unseen->leftButton());
            QVERIFY(!unseen->rootViewController()->isViewLoaded());
        }
        // Not even their views wait somewhere: a screen makes them when it is first shown.
        const auto exists = [](const char *name) {
            const QWidgetList all = QApplication::allWidgets();
            return std::any_of(all.begin(), all.end(), [name](QWidget *w) { return w->objectName() == QLatin1String(name); });
        };
        QVERIFY(exists("cardWebView"));
        for (const char *unseen : {"nb_webView", "wallet_webView", "upi_webView", "walletCollection"})
            QVERIFY2(!exists(unseen), unseen);
        container.setSelectedIndex(2);
        QVERIFY(wrappers[2]->leftButton() && wrappers[2]->leftButton()->isVisible());
        QVERIFY(wrappers[2]->rootViewController()->isViewLoaded());
        QVERIFY(exists("wallet_webView") && exists("walletCollection"));
    }

    // A host may drive a screen it never showed: each operation makes the views it needs, and
    // they are where they belong once the screen is shown.
    void screensDrivenBeforeTheyAreShown()
    {
        cardViewController card;
        upiViewController upi;
        walletViewController wallet;
        netBankingViewController banks;
        QLineEdit month(QStringLiteral("12"));
        card.textFieldDidChangeToExpiry(&month);
        const std::initializer_list<PaymentScreen *> screens{&card, &upi, &wallet, &banks};
        for (PaymentScreen *screen : screens) {
            QVERIFY(!screen->isViewLoaded());
            QVERIFY(QMetaObject::invokeMethod(screen, "payAction")); // no token: refused
        }
        card.hideCardPaymentInputs();
        upi.hideUpiPaymentInputs();
        wallet.hideWalletPaymentInputs();
        banks.hideNetbankingPaymentInputs();
        for (PaymentScreen *screen : screens) {
            QWidget *view = screen->view();
            view->resize(Phone);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
            auto *page = view->findChild<BrowserView *>();
            QVERIFY(page && page->isVisible());
            QCOMPARE(page->geometry(), view->rect());
            // The payment page is up; the inputs, the pay button among them, are not.
            const QList<QAbstractButton *> buttons = view->findChildren<QAbstractButton *>();
            const auto pay = std::find_if(buttons.begin(), buttons.end(), [](QAbstractButton *button) {
                return button->accessibleName() == QLatin1String("Pay Securely");
            });
            QVERIFY(pay != buttons.end() && !(*pay)->isVisible());
        }
    }

    void tabsDrivenBeforeTheyAreShown_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<HostCall>("call");
        QTest::addColumn<bool>("rootMade"); // whether the call makes the root view
        QTest::addColumn<QString>("shown"); // what the buyer then sees on the tab
        const HostCall pay = [](ViewController *screen) { QVERIFY(QMetaObject::invokeMethod(screen, "payAction")); };
        const HostCall overlay = hostCall(&PaymentScreen::waitLoading);
        QTest::newRow("busy overlay, Net Banking") << int(NetBankingTab) << overlay << true << "containerView";
        QTest::newRow("busy overlay, UPI") << int(UpiTab) << overlay << true << "containerView";
        QTest::newRow("inputs hidden, Net Banking") << int(NetBankingTab) << hostCall(&netBankingViewController::hideNetbankingPaymentInputs)
                                                    << true << "nb_webView";
        QTest::newRow("pay, Net Banking") << int(NetBankingTab) << pay << true << "nb_webView";
        QTest::newRow("pay refused, Wallets") << int(WalletsTab) << pay << false << "wallet_paySecurelyBtn";
    }
    // A host's call on a tab the buyer has not opened yet: whatever views it makes, the tab
    // shows them once opened, and a payment it starts runs in the checkout's window.
    void tabsDrivenBeforeTheyAreShown()
    {
        QFETCH(int, tab);
        QFETCH(HostCall, call);
        QFETCH(bool, rootMade);
        QFETCH(QString, shown);
        PGTabBarViewController container;
        container.resize(Phone);
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        NavigationController *wrapper = containerTabs::viewControllers(container).at(tab);
        ViewController *screen = wrapper->rootViewController();
        QVERIFY(!screen->isViewLoaded());
        call(screen);
        QCOMPARE(screen->isViewLoaded(), rootMade);
        if (rootMade)
            QCOMPARE(screen->view()->window(), &container);
        container.setSelectedIndex(tab);
        QWidget *root = screen->view();
        QCOMPARE(root->parentWidget(), wrapper->findChild<QWidget *>(QStringLiteral("navigationContent")));
        QTRY_VERIFY(root->isVisible());
        QTRY_COMPARE(inRoot(root, wrapper), wrapper->contentRect());
        QVERIFY(visibleChild(*root, shown));
    }

    void missingResourceBundle()
    {
        Q_CLEANUP_RESOURCE(pelbrook_artwork);
        const auto restore = qScopeGuard([] { Q_INIT_RESOURCE(pelbrook_artwork); });
        PGTabBarViewController container;
        container.resize(Phone);
        QSignalSpy closed(&container, &PGTabBarViewController::dismissed);
        for (int tab = 0; tab < 4; ++tab) {
            container.present();
            QCOMPARE(container.tabBar()->count(), 4);
            QVERIFY(container.tabBar()->tabIcon(tab).isNull());
            container.setSelectedIndex(tab);
            QToolButton *button = containerTabs::viewControllers(container)[tab]->rootViewController()->navigationController()
                                      ->findChild<QToolButton *>(QStringLiteral("closeButton"));
            QVERIFY(button && button->icon().isNull());
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(closed.count(), tab + 1);
        }
    }
};

QTEST_MAIN(ContainerTest)
#include "tst_container.moc"
