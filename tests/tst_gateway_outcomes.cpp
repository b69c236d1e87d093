// Every outcome the sandbox gateway plays, paid through the real checkout: what the buyer sees on
// each gateway page, the one result the host hears (or the interruption when the buyer closes
// a gateway that erred or never answered), the bars while the pages are up, and the order's
// status as the merchant's server would ask for it.

#include "CheckoutHelpers.h"
#include "SandboxProcess.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QWebEnginePage>

using namespace pelbrook;

namespace {

const char *const PayButtons[] = {"cardPayButton", "nb_paySecurelyBtn", "wallet_paySecurelyBtn", "upiPayButton"};

// What a gateway page shows the buyer: its heading, and its error or countdown when it has one
// (the countdown as it starts, from the sandbox's three seconds).
const QString ReadPage = QStringLiteral(
    "(function(){var h=document.querySelector('h2'),e=document.getElementById('error'),"
    "c=document.getElementById('countdown');return (h?h.textContent:document.title)"
    "+(e?' | '+e.textContent:'')+(c?' | '+c.textContent.replace(/0:0[1-3]$/,'0:0N'):'');})()");

// The buyer's act on a gateway page: "code:N" types and submits a code, "press:ID" a button.
QString script(const QString &act)
{
    const QString value = act.section(QLatin1Char(':'), 1);
    if (act.startsWith(QLatin1String("code:")))
        return QStringLiteral("document.getElementById('otp').value='%1';document.getElementById('submit').click();").arg(value);
    return QStringLiteral("document.getElementById('%1').click();").arg(value);
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
        // The card number or UPI address; or the bank's or wallet's row and the code it sends.
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QStringList>("acts"); // the buyer's act on each gateway page in turn
        QTest::addColumn<QStringList>("pages"); // what each gateway page showed
        QTest::addColumn<QString>("status");   // of the result; empty when the buyer closes
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("order");    // the order's status at the gateway afterwards
        QTest::addColumn<int>("waits");        // seconds from the first gateway page to the result
        const QString otp = QStringLiteral("Enter the one-time password"), wrong = otp + QStringLiteral(" | Incorrect code. ");
        const QString upi = QStringLiteral("Approve the request in your UPI app | Expires in 0:0N");
        // The order's status is the result's unless given.
        const auto row = [](const char *tag, CheckoutTab tab, const QString &entered, const QStringList &acts, const QStringList &pages,
                            const QString &status, const QString &message, const QString &order = {}, int waits = 0) {
            QTest::newRow(tag) << int(tab) << entered << acts << pages << status << message << (order.isEmpty() ? status : order) << waits;
        };
        const QString card = QStringLiteral("4111111111111111"), otpCard = QStringLiteral("4000000000003063");
        row("card, approved on the page", CardsTab, card, {"press:approve"}, {"Confirm payment"}, "SUCCESS", "Approved by the buyer");
        row("card, declined on the page", CardsTab, card, {"press:decline"}, {"Confirm payment"}, "FAILED", "Declined by the buyer");
        row("card declined", CardsTab, "4000000000000002", {}, {}, "FAILED", "Card declined");
        row("insufficient funds", CardsTab, "4000000000009995", {}, {}, "FAILED", "Insufficient funds");
        row("card, one-time password", CardsTab, otpCard, {"code:123456"}, {otp}, "SUCCESS", "Approved by the bank");
        row("card, a wrong code, then the right one", CardsTab, otpCard, {"code:000000", "code:123456"}, {otp, wrong + "2 attempts left."},
            "SUCCESS", "Approved by the bank");
        row("card, three wrong codes", CardsTab, otpCard, {"code:000000", "code:111111", "code:222222"},
            {otp, wrong + "2 attempts left.", wrong + "1 attempt left."}, "FAILED", "Incorrect code entered three times");
        row("card, one-time password cancelled", CardsTab, otpCard, {"press:cancel"}, {otp}, "FAILED", "Cancelled by buyer", "CANCELLED");
        row("card, processing", CardsTab, "4000000000000077", {}, {"Processing your payment"}, "SUCCESS", "Approved after processing", {}, 5);
        row("card, gateway error", CardsTab, "4000000000000119", {"close"}, {"Something went wrong"}, "", "", "FAILED");
        row("card, no answer", CardsTab, "4000000000000259", {"close"}, {}, "", "", "PENDING");
        row("bank, one-time password", NetBankingTab, "0=3001", {"code:123456"}, {otp}, "SUCCESS", "Approved by the bank");
        row("bank unavailable", NetBankingTab, "1=3002", {}, {}, "FAILED", "Bank unavailable");
        row("wallet declined", WalletsTab, "0=4003", {}, {}, "FAILED", "Wallet declined");
        row("UPI approved", UpiTab, "approve@sandbox", {}, {upi}, "SUCCESS", "Approved in the UPI app", {}, 2);
        row("UPI declined", UpiTab, "decline@sandbox", {}, {upi}, "FAILED", "Declined in the UPI app", {}, 2);
        row("UPI request expired", UpiTab, "Expire@Sandbox", {}, {upi}, "FAILED", "UPI request expired", {}, 3);
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
        QFETCH(int, waits);
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
            const int row = entered.section(QLatin1Char('='), 0, 0).toInt();
            QTRY_VERIFY_WITH_TIMEOUT(list->model()->rowCount() > row, 20000);
            clickItem(list, row);
        }

        // On each gateway page: the bars as they are while paying, what the page shows, then the
        // buyer's act on it.
        QStringList seen;
        QStringList toDo = acts;
        int badBars = 0;
        BrowserView *web = c.webView();
        QElapsedTimer sinceFirstPage;
        connect(web, &BrowserView::loadFinished, this, [&](bool) {
            if (web->url().host() != QLatin1String("127.0.0.1") || !c.container.isVisible())
                return;
            if (!sinceFirstPage.isValid())
                sinceFirstPage.start();
            QAbstractButton *close = visibleChild<QAbstractButton>(c.container, QStringLiteral("closeButton"));
            if (!containerTabs::isTabBarHidden(c.container) || !close || !close->isEnabled() || !web->isVisible())
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
            QVERIFY(containerTabs::isTabBarHidden(c.container));
            QAbstractButton *close = visibleChild<QAbstractButton>(c.container, QStringLiteral("closeButton"));
            QVERIFY(close && close->isEnabled());
            QTest::mouseClick(close, Qt::LeftButton);
        }
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);
        QCOMPARE(seen, pages);
        // A page that waits moves on at its time, not at once and not much later.
        if (waits > 0)
            QVERIFY2(sinceFirstPage.elapsed() > waits * 1000 - 1500 && sinceFirstPage.elapsed() < waits * 1000 + 3000,
                     qPrintable(QString::number(sinceFirstPage.elapsed())));
        QCOMPARE(badBars, 0);
        QCOMPARE(interrupted.count(), status.isEmpty() ? 1 : 0);
        QVERIFY(eventLoopRoundTrip());
        QCOMPARE(results.count(), status.isEmpty() ? 0 : 1);

        if (entered.contains(QLatin1Char('=')))
            QCOMPARE(formValue(sandbox.lastForm(), tab == WalletsTab ? QStringLiteral("wallet_code") : QStringLiteral("nb_code")),
                     entered.section(QLatin1Char('='), 1));
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
