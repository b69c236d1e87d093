// The Qt Quick module: a QML application configures the checkout through properties, presents
// it, and receives the result, against the sandbox.

#include "CheckoutHelpers.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

using pelbrook::PGTabBarViewController;

namespace {

// The checkout the Checkout object presented, if it is on screen.
PGTabBarViewController *shownContainer()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *container = qobject_cast<PGTabBarViewController *>(w); container && container->isVisible())
            return container;
    }
    return nullptr;
}

const char *const OrderProperties = R"(
        env: "TEST"; appId: "sandbox-app"; merchantName: "Acme Books"; walletArray: ["paytm"]
        tezOption: "YES"; color1Hex: "2f6fde"; color2Hex: "6a3fd0"
        orderId: "ORD7"; orderAmount: "499.00"; customerEmail: "buyer@example.com"
        customerPhone: "9876543210"; customerName: "Asha Rao"; orderCurrency: "INR"
)";

// A token for the order from the sandbox's token endpoint, as a host's server would get it.
QString tokenFrom(const SandboxProcess &sandbox, const QString &orderId, const QString &amount)
{
    pelbrook::cardViewController client;
    QString token;
    bool answered = false;
    client.initPayment(sandbox.baseUrl().toString() + QStringLiteral("/token"), QStringLiteral("sandbox-app"), orderId,
                       amount, {}, {}, QStringLiteral("INR"), [&](const QString &t) {
                           token = t;
                           answered = true;
                       });
    return QTest::qWaitFor([&] { return answered; }, 15000) ? token : QString();
}

} // namespace

class QuickTest : public QObject
{
    Q_OBJECT

    struct Loaded {
        std::unique_ptr<QObject> root;
        QObject *checkout = nullptr;
        PGTabBarViewController *container = nullptr; // once presented
    };

    // Creates a Checkout with the order's properties and @p extra ones, alone or inside a window.
    Loaded load(const QString &extra = {}, bool inWindow = false)
    {
        const QString checkout = QStringLiteral("Checkout { objectName: \"checkout\"\n%1\n%2 }").arg(extra, QLatin1String(OrderProperties));
        QQmlComponent component(&m_engine);
        component.setData((QStringLiteral("import QtQuick\nimport Pelbrook.Checkout\n")
                           + (inWindow ? QStringLiteral("Window { width: 400; height: 300; visible: true\n  Item { %1 } }").arg(checkout) : checkout))
                              .toUtf8(),
                          QUrl(QStringLiteral("qrc:/tst_quick.qml")));
        Loaded loaded;
        loaded.root.reset(component.create());
        if (!loaded.root) {
            qWarning().noquote() << component.errorString();
            return loaded;
        }
        loaded.checkout = inWindow ? loaded.root->findChild<QObject *>(QStringLiteral("checkout")) : loaded.root.get();
        return loaded;
    }
    // Creates it with @p extra properties and presents it.
    Loaded present(const QString &extra = {})
    {
        Loaded loaded = load(extra);
        if (loaded.checkout && QMetaObject::invokeMethod(loaded.checkout, "present"))
            loaded.container = shownContainer();
        return loaded;
    }

    QQmlEngine m_engine;

private Q_SLOTS:
    void initTestCase() { m_engine.addImportPath(QStringLiteral(PELBROOK_QML_IMPORT_DIR)); }
    void cleanup() { QTRY_VERIFY(!shownContainer()); }

    void paysFromQml_data()
    {
        QTest::addColumn<bool>("overAWindow");
        QTest::newRow("checkout alone") << false;
        QTest::newRow("inside a Qt Quick window") << true;
    }

    void paysFromQml()
    {
        QFETCH(bool, overAWindow);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        Loaded loaded = load({}, overAWindow);
        QVERIFY(loaded.checkout);
        QObject *checkout = loaded.checkout;
        // The token arrives after the object was made, as from a host's server.
        const QString token = tokenFrom(sandbox, QStringLiteral("ORD7"), QStringLiteral("499.00"));
        QVERIFY(!token.isEmpty());
        QVERIFY(checkout->setProperty("paymentReady", token));
        QSignalSpy results(checkout, SIGNAL(paymentResult(QString)));
        QSignalSpy dismissals(checkout, SIGNAL(dismissed()));
        QSignalSpy resultChanges(checkout, SIGNAL(resultChanged()));

        QVERIFY(QMetaObject::invokeMethod(checkout, "present"));
        PGTabBarViewController *container = shownContainer();
        QVERIFY(container);
        QVERIFY(checkout->property("presented").toBool());
        QCOMPARE(container->selectedIndex(), 0);
        if (overAWindow) {
            QVERIFY(container->windowHandle());
            QCOMPARE(container->windowHandle()->transientParent(), qobject_cast<QWindow *>(loaded.root.get()));
            QCOMPARE(container->windowModality(), Qt::WindowModal);
        }
        QPointer<PGTabBarViewController> alive(container);
        fillCardDetails(container);
        QTest::mouseClick(container->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);

        QTRY_COMPARE_WITH_TIMEOUT(results.count(), 1, 30000);
        const QString result = results.at(0).at(0).toString();
        QCOMPARE(checkout->property("result").toString(), result);
        QCOMPARE(resultChanges.count(), 1);
        const QJsonObject outcome = QJsonDocument::fromJson(result.toUtf8()).object();
        QCOMPARE(outcome.value(QStringLiteral("status")).toString(), QStringLiteral("SUCCESS"));
        QCOMPARE(outcome.value(QStringLiteral("orderId")).toString(), QStringLiteral("ORD7"));
        QTRY_COMPARE(dismissals.count(), 1);
        QVERIFY(!checkout->property("presented").toBool());
        // The closed checkout is not kept.
        QTRY_VERIFY(!alive);
    }

    // Closed on the gateway's page before it answered: the QML handler hears of it.
    void interruptedReachesQml()
    {
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        Loaded loaded = present(QStringLiteral("paymentReady: \"%1\"; property int interruptions: 0; onPaymentInterrupted: interruptions++")
                                    .arg(tokenFrom(sandbox, QStringLiteral("ORD7"), QStringLiteral("499.00"))));
        PGTabBarViewController *container = loaded.container;
        QVERIFY(container);
        fillCardDetails(container);
        QTest::mouseClick(container->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        auto *page = container->findChild<QWebEngineView *>(QStringLiteral("cardWebView"));
        QTRY_VERIFY_WITH_TIMEOUT(page->url().path().endsWith(QLatin1String("submit-transparent")), 30000);
        QVERIFY(QMetaObject::invokeMethod(loaded.checkout, "close"));
        QTRY_COMPARE(loaded.checkout->property("interruptions").toInt(), 1);
    }

    // The tab property opens the checkout on that tab and then follows the buyer; closing
    // reports the dismissal once.
    void tabAndClose()
    {
        Loaded loaded = present(QStringLiteral("selectedIndex: 3"));
        PGTabBarViewController *container = loaded.container;
        QVERIFY(container);
        QObject *checkout = loaded.checkout;
        QSignalSpy tabChanges(checkout, SIGNAL(selectedIndexChanged()));
        QSignalSpy dismissals(checkout, SIGNAL(dismissed()));
        QCOMPARE(container->selectedIndex(), 3);
        container->tabBar()->setCurrentIndex(1);
        QCOMPARE(checkout->property("selectedIndex").toInt(), 1);
        QVERIFY(tabChanges.count() >= 1);
        QVERIFY(checkout->setProperty("selectedIndex", 2));
        QCOMPARE(container->selectedIndex(), 2);
        // Presenting again while shown only raises the same checkout.
        QVERIFY(QMetaObject::invokeMethod(checkout, "present"));
        QCOMPARE(shownContainer(), container);

        QVERIFY(QMetaObject::invokeMethod(checkout, "close"));
        QTRY_COMPARE(dismissals.count(), 1);
        QVERIFY(!checkout->property("presented").toBool());
        QVERIFY(eventLoopRoundTrip());
        QCOMPARE(dismissals.count(), 1);
    }

    // An application that presents again when the checkout closes (a buyer who goes back to pay
    // another way) gets a new checkout that stays on screen, made from the properties as they are.
    void presentedAgainFromDismissed()
    {
        Loaded loaded = present(QStringLiteral("property bool again: true\n"
                                               "onDismissed: if (again) { again = false; orderId = \"ORD8\"; present() }"));
        QPointer<PGTabBarViewController> first = loaded.container;
        QVERIFY(first);
        QObject *checkout = loaded.checkout;
        QSignalSpy dismissals(checkout, SIGNAL(dismissed()));
        QVERIFY(QMetaObject::invokeMethod(checkout, "close"));
        QTRY_COMPARE(dismissals.count(), 1);
        QTRY_VERIFY(!first);
        // Once whatever the first left queued has run, the second is still on screen.
        QVERIFY(eventLoopRoundTrip());
        PGTabBarViewController *second = shownContainer();
        QVERIFY2(second, "the checkout presented again is not on screen");
        QVERIFY(checkout->property("presented").toBool());
        auto *orderId = second->findChild<QLabel *>(QStringLiteral("orderIdLabel"));
        QVERIFY(orderId);
        QVERIFY2(orderId->text().contains(QLatin1String("ORD8")), qPrintable(orderId->text()));

        QVERIFY(QMetaObject::invokeMethod(checkout, "close"));
        QTRY_COMPARE(dismissals.count(), 2);
        QVERIFY(!checkout->property("presented").toBool());
    }

    // The hints setting reaches the checkout it presents, and follows a change while shown.
    void inputHintsReachTheContainer()
    {
        Loaded loaded = present(QStringLiteral("showsInputHints: true"));
        QVERIFY(loaded.container);
        QVERIFY(loaded.container->showsInputHints());
        QVERIFY(loaded.checkout->setProperty("showsInputHints", false));
        QVERIFY(!loaded.container->showsInputHints());
        QVERIFY(QMetaObject::invokeMethod(loaded.checkout, "close"));
    }

    // An application that removes the object while the checkout is shown closes the checkout
    // with it, and nothing calls back into the removed object.
    void destroyedWhileShown()
    {
        Loaded loaded = present();
        QPointer<PGTabBarViewController> container = loaded.container;
        QVERIFY(container);
        loaded.root.reset();
        QVERIFY(!container);
    }
};

QTEST_MAIN(QuickTest)
#include "tst_quick.moc"
