// Whole payments by each method against the sandbox, through the real widgets and the public
// interface: the host hears of the one result, and the gateway receives the buyer's values.

#include "CheckoutHelpers.h"
#include "SandboxProcess.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace pelbrook;

class PaymentsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        sandbox.useAsEndpoints();
        configure({.env = env, .token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});

        Checkout c(tab);
        auto delegate = std::make_shared<CountingDelegate>();
        c.container.setResultDelegate(delegate);
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&c.container, &PGTabBarViewController::paymentResult);
        for (const QString &step : std::as_const(steps)) {
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
        const char *const payButtons[] = {"cardPayButton", "nb_paySecurelyBtn", "wallet_paySecurelyBtn", "upiPayButton"};
        QTest::mouseClick(c.find<QAbstractButton>(payButtons[tab]), Qt::LeftButton);
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
