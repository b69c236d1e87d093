// The sandbox gateway's own logic: card checks, tokens, form checks and the hand-back address.

#include "Gateway.h"

#include <QProcess>
#include <QTest>

using namespace sandbox;

namespace {

Form goodForm(Gateway &gateway, const std::string &option)
{
    Form form{{"appId", "sandbox-app"}, {"orderId", "ORD1"}, {"orderAmount", "100.00"},
              {"customerName", "A"}, {"orderNote", ""}, {"customerPhone", "1"}, {"customerEmail", "a@b.c"},
              {"paymentOption", option}, {"orderCurrency", "INR"}, {"source", "iossdk"}, {"notifyUrl", ""}};
    form.emplace_back("paymentToken", gateway.tokenFor("sandbox-app", "ORD1", "100.00"));
    if (option == "card") {
        for (auto [k, v] : {std::pair{"card_number", "4111111111111111"}, {"card_holder", "A Buyer"},
                            {"card_expiryMonth", "12"}, {"card_expiryYear", "2030"}, {"card_cvv", "123"}})
            form.emplace_back(k, v);
    } else if (option == "upi") {
        form.emplace_back("upi_vpa", "buyer@okaxis");
    } else if (option == "wallet") {
        form.emplace_back("wallet_code", "4007");
    } else {
        form.emplace_back("nb_code", "3005");
    }
    return form;
}

void set(Form &form, const std::string &name, const std::string &value)
{
    std::erase_if(form, [&](const auto &field) { return field.first == name; });
    if (value != "<absent>")
        form.emplace_back(name, value);
}

} // namespace

class SandboxTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void luhn_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("valid");
        QTest::newRow("visa test number") << "4111111111111111" << true;
        QTest::newRow("amex test number") << "378282246310005" << true;
        QTest::newRow("19 digits") << "4000000000000000006" << true;
        QTest::newRow("one digit off") << "4111111111111112" << false;
        QTest::newRow("too short") << "42" << false;
        QTest::newRow("20 digits") << "40000000000000000006" << false;
        QTest::newRow("with a space") << "4111 1111 1111 1111" << false;
        QTest::newRow("empty") << "" << false;
    }
    void luhn()
    {
        QFETCH(QString, number);
        QFETCH(bool, valid);
        QCOMPARE(passesLuhn(number.toStdString()), valid);
    }

    void tokensAreIssuedForKnownAppsOnly()
    {
        // (A known app's token is issued and accepted in every payment against the sandbox.)
        Gateway gateway({});
        QCOMPARE(gateway.issueToken(R"({"appId":"other","orderId":"ORD1","orderAmount":"1"})").status, 403);
        QCOMPARE(gateway.issueToken(R"({"appId":"sandbox-app","orderId":"ORD1"})").status, 400);
        QCOMPARE(gateway.issueToken("not json").status, 400);
        // Tokens are bound to the order and the amount, and to this gateway's secret.
        QVERIFY(gateway.tokenFor("sandbox-app", "ORD1", "100.00") != gateway.tokenFor("sandbox-app", "ORD1", "100.01"));
        QVERIFY(gateway.tokenFor("sandbox-app", "ORD1", "100.00") != Gateway({}).tokenFor("sandbox-app", "ORD1", "100.00"));
    }

    void formChecks_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown app") << "card" << "appId" << "intruder" << "Unknown app id.";
        QTest::newRow("token for another amount") << "nb" << "orderAmount" << "1.00" << "The payment token was not issued for this order and amount.";
        QTest::newRow("no token") << "nb" << "paymentToken" << "<absent>" << "The payment token was not issued for this order and amount.";
        QTest::newRow("bad card number") << "card" << "card_number" << "4111111111111112" << "The card number is not valid.";
        QTest::newRow("empty CVV") << "card" << "card_cvv" << "" << "The field card_cvv is missing or empty.";
        QTest::newRow("no bank") << "nb" << "nb_code" << "<absent>" << "The field nb_code is missing or empty.";
        QTest::newRow("UPI without handle") << "upi" << "upi_vpa" << "buyer" << "The UPI address has no handle.";
        QTest::newRow("unknown method") << "nb" << "paymentOption" << "cash" << "Unknown payment option.";
        QTest::newRow("notifyUrl missing") << "wallet" << "notifyUrl" << "<absent>" << "The field notifyUrl is missing.";
    }
    void formChecks()
    {
        QFETCH(QString, option);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, reason);
        Gateway gateway({});
        Form form = goodForm(gateway, option.toStdString());
        if (!field.isEmpty())
            set(form, field.toStdString(), value.toStdString());
        QCOMPARE(QString::fromStdString(gateway.checkForm(form)), reason);
    }

    void buyerDecidesOnThePaymentPage()
    {
        Gateway gateway({});
        const Reply page = gateway.submitTransparent(goodForm(gateway, "card"));
        QCOMPARE(page.status, 200);
        const QString html = QString::fromStdString(page.body);
        QVERIFY(html.contains("**** 1111"));
        QVERIFY(!html.contains("4111111111111111"));
        const QString id = html.section("name='payment' value='", 1, 1).section('\'', 0, 0);
        QVERIFY(id.startsWith("SBX"));
        // A decision is taken once.
        QCOMPARE(gateway.decide({{"payment", id.toStdString()}, {"decision", "decline"}}).status, 302);
        QCOMPARE(gateway.decide({{"payment", id.toStdString()}, {"decision", "approve"}}).status, 404);
    }

    void scriptHandBackAndEscaping()
    {
        GatewayOptions options;
        options.autoApprove = true;
        options.handBack = HandBack::Script;
        Gateway gateway(options);
        Form form = goodForm(gateway, "nb");
        set(form, "orderId", "<script>x</script>");
        set(form, "paymentToken", gateway.tokenFor("sandbox-app", "<script>x</script>", "100.00"));
        const Reply reply = gateway.submitTransparent(form);
        QCOMPARE(reply.status, 200);
        const QString html = QString::fromStdString(reply.body);
        QVERIFY(!html.contains("<script>x"));
        QCOMPARE(QString::fromStdString(percentEncode("a b/\"é")), QStringLiteral("a%20b%2F%22%C3%A9"));
    }

    // A developer reads the help, or pipes it into a pager; a wrong command line must say what
    // was wrong instead of starting with a setting the developer did not ask for.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("onStdout");
        QTest::addColumn<QString>("onStderr");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Approving and declining by hand" << "";
        QTest::newRow("unknown option") << QStringList{"--prot", "8443"} << 2 << "" << "unknown option --prot";
        QTest::newRow("bad hand-back") << QStringList{"--hand-back", "sideways"} << 2 << "" << "usage:";
        QTest::newRow("port that is not a number") << QStringList{"--port", "84x3"} << 2 << "" << "usage:";
        QTest::newRow("bad bank count") << QStringList{"--bank-count", "12x"} << 2 << "" << "usage:";
        QTest::newRow("unknown hostile kind") << QStringList{"--hostile", "polite"} << 2 << "" << "usage:";
        QTest::newRow("certificate without key") << QStringList{"--cert", "/dev/null"} << 2 << "" << "usage:";
        QTest::newRow("option without value") << QStringList{"--port"} << 2 << "" << "usage:";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, onStdout);
        QFETCH(QString, onStderr);
        QProcess sandbox;
        sandbox.start(QStringLiteral(PELBROOK_SANDBOX_BINARY), arguments);
        QVERIFY(sandbox.waitForFinished(10000));
        QCOMPARE(sandbox.exitCode(), exitCode);
        const QString out = QString::fromUtf8(sandbox.readAllStandardOutput());
        const QString err = QString::fromUtf8(sandbox.readAllStandardError());
        QVERIFY2(out.contains(onStdout), qPrintable(out));
        QVERIFY2(err.contains(onStderr), qPrintable(err));
        if (onStdout.isEmpty())
            QVERIFY(!out.contains(QStringLiteral("listening")));
        if (onStderr.isEmpty())
            QCOMPARE(err, QString());
    }
};

QTEST_MAIN(SandboxTest)
#include "tst_sandbox.moc"
