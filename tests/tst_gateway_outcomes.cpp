// Every outcome the sandbox gateway plays, paid through the real checkout: what the buyer sees on
// each gateway page, the one result the host hears (or the interruption when the buyer closes
// a gateway that erred or never answered), the bars while the pages are up, and the order's
// status as the merchant's server would ask for it.

#include "CheckoutHelpers.h"
#include "SandboxProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QWebEnginePage>

using namespace pelbrook;

namespace {

const char *const PayButtons[] = {"cardPayButton", "nb_paySecurelyBtn", "wallet_paySecurelyBtn", "upiPayButton"};

// What a gateway page shows the buyer: its heading, and its error or countdown when it has one.
const QString ReadPage = QStringLiteral(
    "(function(){var h=document.querySelector('h2'),e=document.getElementById('error'),"
    "c=document.getElementById('countdown');return (h?h.textContent:document.title)"
    "+(e?' | '+e.textContent:'')+(c&&c.textContent?' | '+c.textContent.slice(0,10):'');})()");

// The buyer's act on a gateway page: "code:N" types a code and submits it, "press:ID" presses a
// button.
QString script(const QString &act)
{
    const QString value = act.section(QLatin1Char(':'), 1);
    if (act.startsWith(QLatin1String("code:")))
        return QStringLiteral("document.getElementById('otp').value='%1';document.getElementById('submit').click();").arg(value);
    return QStringLiteral("document.getElementById('%1').click();").arg(value);
}

QAbstractButton *visibleCloseButton(PGTabBarViewController &container)
{
    for (auto *button : container.findChildren<QAbstractButton *>(QStringLiteral("closeButton"))) {
        if (button->isVisible())
            return button;
    }
    return nullptr;
}

} // namespace

class GatewayOutcomesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useUnreachableEndpoints(); }

    void everyScenario_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("entered"); // the card number, bank row, wallet row or UPI address
        QTest::addColumn<QStringList>("acts"); // the buyer's act on each gateway page in turn
        QTest::addColumn<QStringList>("pages"); // what each gateway page showed
        QTest::addColumn<QString>("status");   // of the result; empty when the buyer closes
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("order");    // the order's status at the gateway afterwards
        const QString otp = QStringLiteral("Enter the one-time password");
        const QString processing = QStringLiteral("Processing your payment");
        const QString upi = QStringLiteral("Approve the request in your UPI app | Expires in");
        QTest::newRow("card, approved on the page") << int(CardsTab) << "4111111111111111" << QStringList{"press:approve"}
                                                    << QStringList{"Confirm payment"} << "SUCCESS" << "Approved by the buyer." << "SUCCESS";
        QTest::newRow("card, declined on the page") << int(CardsTab) << "4111111111111111" << QStringList{"press:decline"}
                                                    << QStringList{"Confirm payment"} << "FAILED" << "Declined by the buyer." << "FAILED";
        QTest::newRow("card declined") << int(CardsTab) << "4000000000000002" << QStringList{} << QStringList{} << "FAILED"
                                       << "Card declined" << "FAILED";
        QTest::newRow("insufficient funds") << int(CardsTab) << "4000000000009995" << QStringList{} << QStringList{} << "FAILED"
                                            << "Insufficient funds" << "FAILED";
        QTest::newRow("card, one-time password") << int(CardsTab) << "4000000000003063" << QStringList{"code:123456"}
                                                 << QStringList{otp} << "SUCCESS" << "Approved by the bank" << "SUCCESS";
        QTest::newRow("card, a wrong code, then the right one")
            << int(CardsTab) << "4000000000003063" << QStringList{"code:000000", "code:123456"}
            << QStringList{otp, otp + " | Incorrect code. 2 attempts left."} << "SUCCESS" << "Approved by the bank" << "SUCCESS";
        QTest::newRow("card, three wrong codes")
            << int(CardsTab) << "4000000000003063" << QStringList{"code:000000", "code:111111", "code:222222"}
            << QStringList{otp, otp + " | Incorrect code. 2 attempts left.", otp + " | Incorrect code. 1 attempt left."} << "FAILED"
            << "Incorrect code entered three times" << "FAILED";
        QTest::newRow("card, one-time password cancelled") << int(CardsTab) << "4000000000003063" << QStringList{"press:cancel"}
                                                           << QStringList{otp} << "FAILED" << "Cancelled by buyer" << "CANCELLED";
        QTest::newRow("card, processing") << int(CardsTab) << "4000000000000077" << QStringList{} << QStringList{processing}
                                          << "SUCCESS" << "Approved after processing" << "SUCCESS";
        QTest::newRow("card, gateway error") << int(CardsTab) << "4000000000000119" << QStringList{"close"}
                                             << QStringList{"Something went wrong"} << "" << "" << "FAILED";
        QTest::newRow("card, no answer") << int(CardsTab) << "4000000000000259" << QStringList{"close"} << QStringList{} << ""
                                         << "" << "PENDING";
        QTest::newRow("bank, one-time password") << int(NetBankingTab) << "0" << QStringList{"code:123456"} << QStringList{otp}
                                                 << "SUCCESS" << "Approved by the bank" << "SUCCESS";
        QTest::newRow("bank unavailable") << int(NetBankingTab) << "1" << QStringList{} << QStringList{} << "FAILED"
                                          << "Bank unavailable" << "FAILED";
        QTest::newRow("wallet declined") << int(WalletsTab) << "0" << QStringList{} << QStringList{} << "FAILED" << "Wallet declined"
                                         << "FAILED";
        QTest::newRow("UPI approved") << int(UpiTab) << "approve@sandbox" << QStringList{} << QStringList{upi} << "SUCCESS"
                                      << "Approved in the UPI app" << "SUCCESS";
        QTest::newRow("UPI declined") << int(UpiTab) << "decline@sandbox" << QStringList{} << QStringList{upi} << "FAILED"
                                      << "Declined in the UPI app" << "FAILED";
        QTest::newRow("UPI request expired") << int(UpiTab) << "Expire@Sandbox" << QStringList{} << QStringList{upi} << "FAILED"
                                             << "UPI request expired" << "FAILED";
    }
    void everyScenario()
    {
        QFETCH(int, tab);
        QFETCH(QString, entered);
        QFETCH(QStringList, acts);
        QFETCH(QStringList, pages);
        QFETCH(QString, status);
        QFETCH(QString, message);
        QFETCH(QString, order);
        // A short UPI expiry keeps the run short; the scenarios keep their order of events.
        SandboxProcess sandbox({QStringLiteral("--upi-expiry"), QStringLiteral("3")});
        QVERIFY(sandbox.isRunning());
        const QString orderId = QStringLiteral("ORD-%1").arg(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
        QCOMPARE(sandbox.orderStatus(orderId).value(QStringLiteral("status")).toString(), QStringLiteral("NONE"));
        configure({.wallets = {QStringLiteral("ola"), QStringLiteral("paytm")}, .orderId = orderId,
                   .token = sandbox.token(QStringLiteral("sandbox-app"), orderId, QStringLiteral("100.00"))});

        Checkout c(tab);
        QSignalSpy results(&c.container, &PGTabBarViewController::paymentResult);
        QSignalSpy interrupted(&c.container, &PGTabBarViewController::paymentInterrupted);
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        if (tab == CardsTab) {
            fillCardDetails(c.root());
            c.field("cardNumberTextField")->clear();
            c.field("cardNumberTextField")->insert(entered);
        } else if (tab == UpiTab) {
            clickItem(c.find<QAbstractItemView>("upiCollection"), 1);
            QTest::keyClicks(c.field("upiVpaTextField"), entered);
        } else {
            auto *list = c.find<QAbstractItemView>(tab == WalletsTab ? "walletCollection" : "netbankingTable");
            QTRY_VERIFY_WITH_TIMEOUT(list->model()->rowCount() > entered.toInt(), 20000);
            clickItem(list, entered.toInt());
        }

        // On each gateway page: the bars as they are while paying, what the page shows, then the
        // buyer's act on it.
        QStringList seen;
        QStringList toDo = acts;
        int badBars = 0;
        BrowserView *web = c.webView();
        connect(web, &QWebEngineView::loadFinished, this, [&](bool) {
            if (web->url().host() != QLatin1String("127.0.0.1") || !c.container.isVisible())
                return;
            QAbstractButton *close = visibleCloseButton(c.container);
            if (!c.container.isTabBarHidden() || !close || !close->isEnabled() || !web->isVisible())
                ++badBars;
            web->page()->runJavaScript(ReadPage, [&, web = QPointer<BrowserView>(web)](const QVariant &text) {
                seen << text.toString();
                if (web && !toDo.isEmpty() && toDo.first() != QLatin1String("close"))
                    web->page()->runJavaScript(script(toDo.takeFirst()));
            });
        });
        QTest::mouseClick(c.find<QAbstractButton>(PayButtons[tab]), Qt::LeftButton);

        if (toDo == QStringList{QStringLiteral("close")}) {
            // The buyer gives up on a gateway that erred or never answers.
            QTRY_COMPARE_WITH_TIMEOUT(sandbox.orderStatus(orderId).value(QStringLiteral("status")).toString(), order, 20000);
            QTRY_COMPARE_WITH_TIMEOUT(seen.size(), pages.size(), 20000);
            QVERIFY(c.container.isTabBarHidden());
            QAbstractButton *close = visibleCloseButton(c.container);
            QVERIFY(close && close->isEnabled());
            QTest::mouseClick(close, Qt::LeftButton);
        }
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);
        QCOMPARE(seen, pages);
        QCOMPARE(badBars, 0);
        QCOMPARE(interrupted.count(), status.isEmpty() ? 1 : 0);
        QVERIFY(eventLoopRoundTrip());
        QCOMPARE(results.count(), status.isEmpty() ? 0 : 1);

        const QJsonObject atGateway = sandbox.orderStatus(orderId);
        QCOMPARE(atGateway.value(QStringLiteral("status")).toString(), order);
        if (status.isEmpty())
            return;
        const QJsonObject heard = QJsonDocument::fromJson(results.first().first().toString().toUtf8()).object();
        QCOMPARE(heard.value(QStringLiteral("status")).toString(), status);
        QCOMPARE(heard.value(QStringLiteral("message")).toString(), message);
        QCOMPARE(heard.value(QStringLiteral("orderId")).toString(), orderId);
        // The merchant's server hears what the app heard.
        QCOMPARE(atGateway.value(QStringLiteral("message")).toString(), message);
        QCOMPARE(atGateway.value(QStringLiteral("referenceId")), heard.value(QStringLiteral("referenceId")));
    }
};

QTEST_MAIN(GatewayOutcomesTest)
#include "tst_gateway_outcomes.moc"
