// Paying by each method through the real widgets: the checks each screen makes before a payment
// starts, and whole payments against the sandbox through the public interface, where the host
// hears of the one result and the gateway receives the buyer's values.

#include "CheckoutHelpers.h"

using namespace pelbrook;

namespace {

const QString TokenLine = QStringLiteral("Error: No payment token received. Please try again sending new request for token (initPayment).");
const char *const PayButtons[] = {"cardPayButton", "nb_paySecurelyBtn", "wallet_paySecurelyBtn", "upiPayButton"};

// What the buyer does before paying: "field=text" types into a field, "view#row" taps an item.
void act(Checkout &c, const QStringList &steps)
{
    for (const QString &step : steps) {
        if (const qsizetype equals = step.indexOf(QLatin1Char('=')); equals > 0) {
            QTest::keyClicks(c.field(qPrintable(step.left(equals))), step.mid(equals + 1));
            continue;
        }
        const QString view = step.section(QLatin1Char('#'), 0, 0);
        const int row = step.section(QLatin1Char('#'), 1).toInt();
        // The handle list opens from its field.
        if (view == QLatin1String("bankPicker"))
            QTest::mouseClick(c.field("upiPostFixTextField"), Qt::LeftButton);
        auto *list = c.container.findChild<QAbstractItemView *>(view);
        QVERIFY2(list, qPrintable(view));
        // The bank list arrives from the sandbox.
        QTRY_VERIFY_WITH_TIMEOUT(list->model()->rowCount() > row, 20000);
        list->scrollTo(list->model()->index(row, 0));
        clickItem(list, row);
    }
}

} // namespace

class PaymentsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useUnreachableEndpoints(); }

    // Each screen's checks refuse a payment, with their log lines, and leave the buyer where they
    // were; or the payment starts, its page where the inputs were.
    void payChecks_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("env");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("starts");
        const QString test = QStringLiteral("It is TEST environment");
        const QString card = QStringLiteral("cardNumberTextField=4111111111111111");
        const QString shortCard = QStringLiteral("Enter a 16 Digit Card Number");
        QTest::newRow("card, no token, no number") << int(CardsTab) << "" << "TEST" << QStringList{} << QStringList{TokenLine} << false;
        // The length checked is the grouped text's.
        QTest::newRow("card, 18 characters") << int(CardsTab) << "tok" << "TEST" << QStringList{"cardNumberTextField=411111111111111"}
                                             << QStringList{shortCard, "18"} << false;
        QTest::newRow("card, 15 digits 4-6-5") << int(CardsTab) << "tok" << "TEST" << QStringList{"cardNumberTextField=378282246310005"}
                                               << QStringList{shortCard, "17"} << false;
        QTest::newRow("card, empty") << int(CardsTab) << "tok" << "TEST" << QStringList{} << QStringList{shortCard, "0"} << false;
        QTest::newRow("card, 19 characters") << int(CardsTab) << "tok" << "TEST" << QStringList{card} << QStringList{"19", test} << true;
        QTest::newRow("bank, no token") << int(NetBankingTab) << "" << "TEST" << QStringList{} << QStringList{TokenLine} << false;
        QTest::newRow("bank, TEST without a choice") << int(NetBankingTab) << "tok" << "TEST" << QStringList{} << QStringList{"3333", test}
                                                     << true;
        QTest::newRow("bank, PROD without a choice") << int(NetBankingTab) << "tok" << "PROD" << QStringList{}
                                                     << QStringList{"", "It is PROD environment"} << true;
        QTest::newRow("wallet, no token, no wallet") << int(WalletsTab) << "" << "TEST" << QStringList{} << QStringList{TokenLine} << false;
        QTest::newRow("wallet, none chosen") << int(WalletsTab) << "tok" << "TEST" << QStringList{} << QStringList{"Select a Wallet"} << false;
        QTest::newRow("wallet, chosen") << int(WalletsTab) << "tok" << "TEST" << QStringList{"walletCollection#0"}
                                        << QStringList{test} << true;
        QTest::newRow("UPI, no token, no address") << int(UpiTab) << "" << "TEST" << QStringList{} << QStringList{TokenLine} << false;
        QTest::newRow("UPI, no address") << int(UpiTab) << "tok" << "TEST" << QStringList{} << QStringList{"UPI VPA is empty."} << false;
    }
    void payChecks()
    {
        QFETCH(int, tab);
        QFETCH(QString, token);
        QFETCH(QString, env);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, log);
        QFETCH(bool, starts);
        configure({.env = env, .token = token});
        Checkout c(tab);
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        act(c, steps);
        QWidget *const focused = c.focused();
        auto *pay = c.find<QAbstractButton>(PayButtons[tab]);
        const QPoint payCentre = inRoot(pay, c.root()).center();
        LogCapture capture;
        QTest::mouseClick(pay, Qt::LeftButton);
        QCOMPARE(capture.lines(), log);
        for (int settled = 0; settled < 2; ++settled) {
            QCOMPARE(c.overlayShown(), starts);
            QCOMPARE(c.webView()->isVisible(), starts);
            QCOMPARE(containerTabs::isTabBarHidden(c.container), starts);
            QCOMPARE(pay->isVisible(), !starts);
            // Nothing changes once the screen has settled.
            QVERIFY(eventLoopRoundTrip());
        }
        // What the buyer touches where the pay button was: the page (under the overlay) while
        // paying; else the button, the focus where it was, the button within the keyboard's reach.
        QWidget *top = c.root()->childAt(payCentre);
        QWidget *overlay = c.root()->findChild<QWidget *>(QStringLiteral("containerView"));
        if (starts) {
            QVERIFY(top == c.webView() || c.webView()->isAncestorOf(top) || (overlay && overlay->isAncestorOf(top)));
            return;
        }
        QCOMPARE(top, pay);
        QCOMPARE(c.focused(), focused);
        QVERIFY(pay->focusPolicy() & Qt::TabFocus);
    }

    void paysByEachMethod_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("env");
        QTest::addColumn<QStringList>("steps"); // "field=text" types into a field, "view#row" taps an item
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("sent"); // "name=value" pairs the gateway received
        QTest::addColumn<int>("fields");       // how many fields it received
        QTest::newRow("card") << int(CardsTab) << "TEST"
                              << QStringList{"cardNumberTextField=4111 1111-1111 1111", "cardHolderNameTextField=Asha O'Rao",
                                             "cardExpiryMonthTextField=07", "cardExpiryYearTextField=31", "cardCvcTextField=123"}
                              << "SUCCESS"
                              << QStringList{"paymentOption=card", "card_number=4111111111111111", "card_holder=Asha O'Rao",
                                             "card_expiryMonth=07", "card_expiryYear=2031", "card_cvv=123", "orderCurrency=INR"}
                              << 17;
        // The gateway refuses it, and says so in the result.
        QTest::newRow("card, the number alone") << int(CardsTab) << "TEST" << QStringList{"cardNumberTextField=4111111111111111"}
                                                << "FAILED" << QStringList{"card_expiryYear=20", "card_cvv=", "card_holder="} << 17;
        QTest::newRow("a chosen bank") << int(NetBankingTab) << "TEST" << QStringList{"netbankingTable#4"} << "SUCCESS"
                                       << QStringList{"paymentOption=nb", "nb_code=3005"} << 13;
        QTest::newRow("no bank chosen, TEST") << int(NetBankingTab) << "TEST" << QStringList{} << "SUCCESS"
                                              << QStringList{"nb_code=3333"} << 13;
        QTest::newRow("no bank chosen, PROD") << int(NetBankingTab) << "PROD" << QStringList{} << "FAILED"
                                              << QStringList{"nb_code="} << 13;
        // Wallet and UPI forms carry the buyer's name and note twice.
        QTest::newRow("wallet") << int(WalletsTab) << "TEST" << QStringList{"walletCollection#1"} << "SUCCESS"
                                << QStringList{"paymentOption=wallet", "wallet_code=4006", "customerName=Asha Rao"} << 15;
        QTest::newRow("UPI, other apps") << int(UpiTab) << "TEST" << QStringList{"upiCollection#1", "upiVpaTextField=asha.rao@ybl"}
                                         << "SUCCESS" << QStringList{"paymentOption=upi", "upi_vpa=asha.rao@ybl"} << 15;
        QTest::newRow("UPI, Tez with a handle") << int(UpiTab) << "TEST"
                                                << QStringList{"upiCollection#0", "bankPicker#2", "upiVpaTextField=asha.rao"} << "SUCCESS"
                                                << QStringList{"upi_vpa=asha.rao@okhdfcbank"} << 15;
    }
    void paysByEachMethod()
    {
        QFETCH(int, tab);
        QFETCH(QString, env);
        QFETCH(QStringList, steps);
        QFETCH(QString, status);
        QFETCH(QStringList, sent);
        QFETCH(int, fields);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        configure({.env = env, .token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});

        Checkout c(tab);
        auto delegate = std::make_shared<CountingDelegate>();
        c.container.setResultDelegate(delegate);
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&c.container, &PGTabBarViewController::paymentResult);
        act(c, steps);
        if (QTest::currentTestFailed())
            return;
        QTest::mouseClick(c.find<QAbstractButton>(PayButtons[tab]), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);

        const QString result = c.container.getResult();
        QCOMPARE(delegate->results, QStringList{result});
        QCOMPARE(results.count(), 1);
        QCOMPARE(results.first().first().toString(), result);
        QCOMPARE(QJsonDocument::fromJson(result.toUtf8()).object().value(QStringLiteral("status")).toString(), status);
        QVERIFY(!c.overlayShown());
        QVERIFY(!c.container.isVisible());

        const QList<QPair<QString, QString>> form = sandbox.lastForm();
        for (const QString &pair : std::as_const(sent))
            QCOMPARE(formValue(form, pair.section(QLatin1Char('='), 0, 0)), pair.section(QLatin1Char('='), 1));
        QCOMPARE(form.size(), fields);
    }
};

QTEST_MAIN(PaymentsTest)
#include "tst_payments.moc"
