// The checkout core: context and entry points, the payment form, the token request and the
// capture of the gateway's hand-back.

#include "CheckoutHelpers.h"
#include "LoopbackCertificate.h"

#include <QTemporaryDir>

#include "core/HandBack.h"
#include "core/PaymentForm.h"
#include "core/PaymentScreen_p.h"

#include <pelbrook/PaymentScreen.h>

using namespace pelbrook;

namespace {

// A payment screen reduced to what the shared flow needs, with its hooks observable.
class TestScreenPrivate : public PaymentScreenPrivate
{
public:
    static ScreenTraits traitsFor(const QString &option, bool repeats)
    {
        ScreenTraits t;
        t.paymentOption = option;
        t.repeatsNameAndNote = repeats;
        t.webViewName = "testWebView";
        t.payButtonName = "testPayButton";
        t.buildOrder = {BuildStep::PayButton};
        return t;
    }
    TestScreenPrivate(const QString &option, bool repeats)
        : PaymentScreenPrivate(traitsFor(option, repeats))
    {
    }

    QList<FormField> fields{{QStringLiteral("nb_code"), QStringLiteral("3005")}};

    void layOutInputs(double, double) override {}
    QList<QWidget *> paymentInputs() const override { return {payButton}; }
    QList<FormField> methodFields() const override { return fields; }
};

class TestScreen : public PaymentScreen
{
    Q_OBJECT
public:
    explicit TestScreen(const QString &option = QStringLiteral("nb"), bool repeats = false)
        : PaymentScreen(*new TestScreenPrivate(option, repeats))
    {
    }
    TestScreenPrivate *d() const { return static_cast<TestScreenPrivate *>(d_ptr.get()); }
    BrowserView *webView() const { return d()->webView; }
    bool overlayShown() const { return d()->overlay.isShown(); }
    QString paymentToken() const { return d()->checkout.paymentReady_global; }
    void paySecurely_request() { d()->paySecurely_request(); }
    bool webViewShouldStartLoad(const QUrl &url) { return d()->webViewShouldStartLoad(url); }
};

// Records what the host sees when the delegate is called.
class RecordingDelegate : public ResultDelegate
{
public:
    void onPaymentResult(const QString &result) override
    {
        results << result;
        storedDuringCall << CheckoutContext::shared().result_global;
        visibleDuringCall << (watched && watched->isVisible());
    }
    QStringList results;
    QStringList storedDuringCall;
    QList<bool> visibleDuringCall;
    QPointer<QWidget> watched;
};

QString field(const QString &name, const QString &value)
{
    return QStringLiteral("<input type='hidden' name='%1' value='%2'/>").arg(name, value);
}

// The page as the gateway expects it, field by field.
QString expectedPage(const QString &option, const QString &methodFields, bool repeat)
{
    const QString nameAndNote = field("customerName", "A Buyer") + field("orderNote", "Two books");
    return QStringLiteral("<html><body onload='document.order.submit()'><form name='order' action='"
                          "https://gw.example/billpay/checkout/post/submit-transparent' method='post'>"
                          "<input type='hidden' name='appId' value=\"sandbox-app\" />")
        + field("orderId", "ORD1") + field("orderAmount", "100.00") + nameAndNote + (repeat ? nameAndNote : QString())
        + field("customerPhone", "9999999999") + field("customerEmail", "buyer@example.com") + field("paymentOption", option)
        + methodFields + field("orderCurrency", "INR") + field("paymentToken", "tok") + field("source", "iossdk")
        + field("notifyUrl", "https://shop.example/n") + QStringLiteral("</form></body></html>");
}

PaymentPageValues pageValues(const QString &option, const QList<FormField> &fields, bool repeat)
{
    return {"https://gw.example/billpay/checkout/post/submit-transparent", "sandbox-app", "ORD1", "100.00", "A Buyer", "Two books",
            "9999999999", "buyer@example.com", option, fields, "INR", "tok", "https://shop.example/n", repeat};
}

} // namespace

class CoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // (A new order also forgets the result of the one before.)
    void init() { configureOffline(); }

    // --- context and entry points ---

    void screensKeepTheirCopies()
    {
        TestScreen before;
        configure({.env = QStringLiteral("PROD"), .orderId = QStringLiteral("ORD2"), .token = {}});
        TestScreen after;
        QCOMPARE(before.orderId(), QStringLiteral("ORD1"));
        QCOMPARE(before.env(), QStringLiteral("TEST"));
        QCOMPARE(before.paymentToken(), QStringLiteral("tok"));
        QCOMPARE(after.orderId(), QStringLiteral("ORD2"));
        QCOMPARE(after.paymentToken(), QString());
    }

    void newOrderForgetsThePreviousResult()
    {
        PGTabBarViewController entry;
        CheckoutContext::shared().result_global = QStringLiteral("{\"status\":\"SUCCESS\"}");
        QCOMPARE(entry.getResult(), QStringLiteral("{\"status\":\"SUCCESS\"}"));
        entry.setConfig(QStringLiteral("TEST"), QString(), QString(), QString(), {}, QString(), QString(), QString());
        QCOMPARE(entry.getResult(), QStringLiteral("{\"status\":\"SUCCESS\"}"));
        entry.createOrder(QStringLiteral("ORD2"), QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString());
        QCOMPARE(entry.getResult(), QString());
    }

    // --- the payment form ---

    void formPages_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QList<FormField>>("fields");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("methodHtml");
        QTest::newRow("card") << "card"
                              << QList<FormField>{{"card_number", "4111111111111111"}, {"card_holder", "A Buyer"},
                                                  {"card_expiryMonth", "07"}, {"card_expiryYear", "2031"}, {"card_cvv", "123"}}
                              << false
                              << field("card_number", "4111111111111111") + field("card_holder", "A Buyer")
                + field("card_expiryMonth", "07") + QStringLiteral("<input type='hidden' name='card_expiryYear' value='20") + "31'/>"
                + field("card_cvv", "123");
        QTest::newRow("UPI") << "upi" << QList<FormField>{{"upi_vpa", "buyer@okaxis"}} << true << field("upi_vpa", "buyer@okaxis");
        QTest::newRow("wallet") << "wallet" << QList<FormField>{{"wallet_code", "4007"}} << true << field("wallet_code", "4007");
        QTest::newRow("net banking") << "nb" << QList<FormField>{{"nb_code", "3001"}} << false << field("nb_code", "3001");
        // A bare carriage return would reach the page's fields as a line feed.
        QTest::newRow("carriage returns as references") << "card" << QList<FormField>{{"card_holder", "A\r\nB\rC"}} << false
                                                        << field("card_holder", "A&#13;\nB&#13;C");
        // UTF-8 cannot carry a lone surrogate; U+FFFD marks the lost character. Pairs are kept.
        QTest::newRow("lone surrogates as U+FFFD")
            << "nb" << QList<FormField>{{QStringLiteral("nb_code\xD800"), QStringLiteral("a\xDC00" "b\U0001F600")}} << false
            << field(QStringLiteral("nb_code\uFFFD"), QStringLiteral("a\uFFFDb\U0001F600"));
    }
    void formPages()
    {
        QFETCH(QString, option);
        QFETCH(QList<FormField>, fields);
        QFETCH(bool, repeat);
        QFETCH(QString, methodHtml);
        QCOMPARE(buildPaymentPage(pageValues(option, fields, repeat)), expectedPage(option, methodHtml, repeat));
    }

    void hostileValuesAreEscaped()
    {
        PaymentPageValues v = pageValues(QStringLiteral("nb"), {{QStringLiteral("nb_code"), QStringLiteral("1' onfocus='x")}}, false);
        v.appId = QStringLiteral("a\" autofocus=\"");
        v.customerName = QStringLiteral("O'Brien & Sons");
        v.orderNote = QStringLiteral("'/><script>alert(1)</script>");
        const QString page = buildPaymentPage(v);
        QVERIFY(page.contains(QStringLiteral("name='appId' value=\"a&quot; autofocus=&quot;\" />")));
        QVERIFY(page.contains(QStringLiteral("value='O&#39;Brien &amp; Sons'/>")));
        QVERIFY(page.contains(QStringLiteral("value='&#39;/&gt;&lt;script&gt;alert(1)&lt;/script&gt;'/>")));
        QVERIFY(page.contains(QStringLiteral("name='nb_code' value='1&#39; onfocus=&#39;x'/>")));
        // A field's name cannot end the attribute either.
        v.methodFields = {{QStringLiteral("x' value='y"), QStringLiteral("z")}};
        QVERIFY(buildPaymentPage(v).contains(QStringLiteral("name='x&#39; value=&#39;y' value='z'/>")));
        QVERIFY(!page.contains(QStringLiteral("<script>")));
        QCOMPARE(page.count(QStringLiteral("<input")), 13);
    }

    // The form goes to the environment's gateway, in the order's currency (INR when none was
    // given, though the order keeps what it was given).
    void endpointAndCurrency_data()
    {
        QTest::addColumn<QString>("env");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("path"); // empty: the form has no action and reaches no server
        QTest::newRow("TEST, no currency") << "TEST" << "" << "/billpay/checkout/post/submit-transparent";
        QTest::newRow("PROD, USD") << "PROD" << "USD" << "/checkout/post/submit-transparent";
        QTest::newRow("lower case") << "test" << "INR" << "";
        QTest::newRow("empty") << "" << "INR" << "";
    }
    void endpointAndCurrency()
    {
        QFETCH(QString, env);
        QFETCH(QString, currency);
        QFETCH(QString, path);
        // The two gateways are two loopback servers, so the post shows where it went.
        QTemporaryDir certificates;
        QString pin;
        const ScriptedHttpServer::Tls tls = loopbackCertificate(certificates.path(), &pin);
        const auto ok = [](const QByteArray &, const QByteArray &) { return ScriptedHttpServer::response(200, "text/html", "ok"); };
        ScriptedHttpServer test(ok, tls);
        ScriptedHttpServer production(ok, tls);
        Endpoints e;
        e.testGateway = test.url(QString());
        e.productionGateway = production.url(QString());
        e.pinnedCertificateSha256 = pin;
        setEndpoints(e);
        configure({.env = env, .currency = currency});
        TestScreen screen;
        QCOMPARE(screen.orderCurrency(), currency);
        screen.view();
        screen.paySecurely_request();
        const QString sent = currency.isEmpty() ? QStringLiteral("INR") : currency;
        QCOMPARE(screen.orderCurrency(), sent);
        QCOMPARE(CheckoutContext::shared().orderCurrency_global, currency);
        if (path.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(!screen.webView()->url().isEmpty(), 10000);
            QCOMPARE(pageText(screen.webView(), true).count(QStringLiteral("action=\"\"")), 1);
            QCOMPARE(test.requestCount() + production.requestCount(), 0);
            return;
        }
        ScriptedHttpServer &gateway = env == QLatin1String("TEST") ? test : production;
        ScriptedHttpServer &other = env == QLatin1String("TEST") ? production : test;
        QTRY_VERIFY_WITH_TIMEOUT(!gateway.paths().isEmpty(), 10000);
        // The form post comes first; the browser may ask the same server for an icon afterwards.
        QCOMPARE(gateway.paths().first(), path.toUtf8());
        QVERIFY(gateway.bodies().first().contains("&orderCurrency=" + sent.toUtf8() + "&"));
        QCOMPARE(other.requestCount(), 0);
    }

    // --- the hand-back ---

    void fragmentDecoding_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("escaped space") << "a%20b" << true << "a b";
        QTest::newRow("plus stays") << "a+b" << true << "a+b";
        QTest::newRow("JSON") << "%7B%22s%22%3A1%7D" << true << "{\"s\":1}";
        QTest::newRow("UTF-8") << "%E2%82%AC%c3%a9" << true << QStringLiteral("€é");
        QTest::newRow("empty") << "" << true << "";
        QTest::newRow("bad hex") << "a%zz" << false << "";
        QTest::newRow("cut short") << "a%2" << false << "";
        QTest::newRow("invalid UTF-8") << "%C3%28" << false << "";
        QTest::newRow("encoded surrogate") << "%ED%A0%80" << false << "";
        QTest::newRow("leading byte-order mark kept") << "%EF%BB%BFok" << true << QStringLiteral("\uFEFFok");
    }
    void fragmentDecoding()
    {
        QFETCH(QString, encoded);
        QFETCH(bool, present);
        QFETCH(QString, decoded);
        const std::optional<QString> result = decodeFragment(encoded);
        QCOMPARE(result.has_value(), present);
        if (present)
            QCOMPARE(*result, decoded);
    }

    void navigationCheck_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("delegateSet");
        QTest::addColumn<bool>("awaitsPage");
        QTest::addColumn<QString>("stored"); // "<unchanged>" when nothing is stored
        QTest::addColumn<bool>("dismissed");
        QTest::newRow("https keeps the overlay until its page loads") << "https://gw.example/pay" << true << true << "<unchanged>" << false;
        QTest::newRow("http is ignored") << "http://gw.example/pay" << true << false << "<unchanged>" << false;
        QTest::newRow("blank page ignored") << "about:blank" << true << false << "<unchanged>" << false;
        QTest::newRow("hand-back") << "ios-sdk://r/x?y=1#ok%20done" << true << false << "ok done" << true;
        QTest::newRow("hand-back without delegate") << "ios-sdk:done#ok" << false << false << "ok" << true;
        QTest::newRow("hand-back without fragment") << "ios-sdk://r" << true << false << "<unchanged>" << true;
        QTest::newRow("hand-back with bad UTF-8") << "ios-sdk://r#%C3%28" << true << false << "<unchanged>" << true;
    }
    void navigationCheck()
    {
        QFETCH(QString, url);
        QFETCH(bool, delegateSet);
        QFETCH(bool, awaitsPage);
        QFETCH(QString, stored);
        QFETCH(bool, dismissed);
        CheckoutContext::shared().result_global = QStringLiteral("earlier");
        TabBarController tabs;
        auto *screen = new TestScreen;
        containerTabs::setViewControllers(tabs, {new NavigationController(screen)});
        tabs.present();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        auto delegate = std::make_shared<RecordingDelegate>();
        delegate->watched = &tabs;
        if (delegateSet)
            screen->setResultDelegate(delegate);
        QSignalSpy closed(&tabs, &TabBarController::dismissed);
        QSignalSpy captured(screen, &PaymentScreen::paymentResultCaptured);
        screen->waitLoading();
        screen->webView()->show();

        QVERIFY(screen->webViewShouldStartLoad(QUrl(url)));
        // The host hears of a hand-back only once the browser engine's question is answered.
        QCOMPARE(closed.count(), 0);
        QVERIFY(delegate->results.isEmpty());
        QVERIFY(eventLoopRoundTrip());

        if (!dismissed) {
            QVERIFY(screen->overlayShown());
            QCOMPARE(screen->d()->awaitingGatewayPage, awaitsPage);
        }
        QCOMPARE(closed.count(), dismissed ? 1 : 0);
        QCOMPARE(screen->webView()->isHidden(), dismissed);
        if (stored == QLatin1String("<unchanged>")) {
            QCOMPARE(CheckoutContext::shared().result_global, QStringLiteral("earlier"));
            QVERIFY(delegate->results.isEmpty());
            QCOMPARE(captured.count(), 0);
            return;
        }
        QCOMPARE(CheckoutContext::shared().result_global, stored);
        QCOMPARE(screen->d()->session.result(), std::optional<QString>(stored));
        QCOMPARE(captured.count(), 1);
        if (delegateSet) {
            QCOMPARE(delegate->results, QStringList{stored});
            // Stored before the call, and the checkout still on screen during it.
            QCOMPARE(delegate->storedDuringCall, QStringList{stored});
            QCOMPARE(delegate->visibleDuringCall, QList<bool>{true});
        }
    }

    // What the host is told of a checkout closed at each point of a payment, and whether a failed
    // load of the form means the gateway was never reached.
    void sessionOutcome_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<bool>("unknown");
        QTest::addColumn<bool>("unreached"); // the form's own post failing before it was sent
        QTest::addColumn<bool>("kept"); // a valid result is at hand
        QTest::newRow("form built") << "form" << false << true << false;
        QTest::newRow("form sent") << "form https" << true << true << false;
        QTest::newRow("gateway answered") << "form https nav" << true << false << false;
        QTest::newRow("result handed back") << "form https back+result back" << false << true << true;
        QTest::newRow("handed back without a result") << "form https back" << true << true << false;
        QTest::newRow("gateway unreachable") << "form https unreachable" << false << true << false;
        // A second form after one whose outcome stayed unknown has not been sent itself.
        QTest::newRow("second form") << "form https nav form" << true << true << false;
        QTest::newRow("second form unreachable") << "form https form https unreachable" << true << true << false;
        // A later payment's hand-back without a result takes nothing of the earlier one's.
        QTest::newRow("paid again, no result") << "form https back+result form https back" << true << true << true;
    }
    void sessionOutcome()
    {
        QFETCH(QString, events);
        QFETCH(bool, unknown);
        QFETCH(bool, unreached);
        QFETCH(bool, kept);
        const QUrl target(QStringLiteral("https://gw.example/pay"));
        PaymentSession session;
        for (const QString &event : events.split(QLatin1Char(' '))) {
            if (event == QLatin1String("form"))
                session.startForm(target);
            else if (event == QLatin1String("https"))
                session.leavingForGateway();
            else if (event == QLatin1String("nav"))
                session.navigationStarting();
            else if (event.startsWith(QLatin1String("back")))
                session.takeHandBack(event.endsWith(QLatin1String("result")) ? std::optional<QString>(QStringLiteral("{}")) : std::nullopt);
            else if (event == QLatin1String("unreachable"))
                session.formNeverLeft();
        }
        QCOMPARE(session.outcomeUnknown(), unknown);
        QCOMPARE(session.failureLeftGatewayUnreached(target, true), unreached);
        QCOMPARE(session.result().has_value(), kept);
    }

    // Two hand-backs before the checkout has closed: the host hears of the first only.
    void oneResultPerPayment()
    {
        CheckoutContext::shared().result_global = QStringLiteral("earlier");
        TabBarController tabs;
        auto *screen = new TestScreen;
        containerTabs::setViewControllers(tabs, {new NavigationController(screen)});
        tabs.present();
        auto delegate = std::make_shared<RecordingDelegate>();
        screen->setResultDelegate(delegate);
        QSignalSpy closed(&tabs, &TabBarController::dismissed);
        QSignalSpy captured(screen, &PaymentScreen::paymentResultCaptured);
        LogCapture log;
        QVERIFY(screen->webViewShouldStartLoad(QUrl(QStringLiteral("ios-sdk://r#first"))));
        QVERIFY(screen->webViewShouldStartLoad(QUrl(QStringLiteral("ios-sdk://r#second"))));
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(eventLoopRoundTrip());
        QCOMPARE(delegate->results, QStringList{QStringLiteral("first")});
        QCOMPARE(captured.count(), 1);
        QCOMPARE(CheckoutContext::shared().result_global, QStringLiteral("first"));
        QCOMPARE(log.lines(), QStringList{QStringLiteral("A further hand-back for this payment is ignored.")});

        // The next payment on the same screen is heard of again.
        tabs.present();
        screen->paySecurely_request();
        QVERIFY(screen->webViewShouldStartLoad(QUrl(QStringLiteral("ios-sdk://r#third"))));
        QTRY_COMPARE(closed.count(), 2);
        QCOMPARE(delegate->results, (QStringList{QStringLiteral("first"), QStringLiteral("third")}));
    }

    // The buyer never looks at a blank page: the overlay is up as the gateway's page is asked
    // for, and goes only once that page has loaded.
    void overlayStaysUntilTheGatewayPageLoads()
    {
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        configure({.token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});
        TabBarController tabs;
        auto *screen = new TestScreen;
        containerTabs::setViewControllers(tabs, {new NavigationController(screen)});
        tabs.present();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QList<bool> shownAsItStarts;
        connect(screen->webView(), &BrowserView::loadingChanged, this, [&](const QWebEngineLoadingInfo &info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus && info.url().scheme() == QLatin1String("https"))
                shownAsItStarts << screen->overlayShown();
        });
        screen->waitLoading();
        screen->webView()->show();
        screen->paySecurely_request();
        QTRY_VERIFY_WITH_TIMEOUT(!screen->overlayShown(), 30000);
        QCOMPARE(shownAsItStarts, QList<bool>{true});
        QCOMPARE(screen->webView()->url().scheme(), QStringLiteral("https"));
    }

    // The gateway's page hands back from a script (the whole payments see it hand back by a
    // redirect, and check the form the gateway received).
    void captureThroughTheBrowser()
    {
        SandboxProcess sandbox({QStringLiteral("--auto-approve"), QStringLiteral("--hand-back"), QStringLiteral("script")});
        QVERIFY(sandbox.isRunning());
        configure({.token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});

        // The container builds its own tabs as it is first presented; the test screen replaces them.
        PGTabBarViewController container;
        auto delegate = std::make_shared<RecordingDelegate>();
        delegate->watched = &container;
        container.setResultDelegate(delegate);
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        auto *screen = new TestScreen;
        containerTabs::setViewControllers(container, {new NavigationController(screen)});
        QCOMPARE(screen->resultDelegate(), delegate);
        QSignalSpy closed(&container, &PGTabBarViewController::dismissed);

        screen->waitLoading();
        screen->paySecurely_request();
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);

        QVERIFY(!screen->overlayShown());
        QCOMPARE(delegate->results.size(), 1);
        const QJsonObject outcome = QJsonDocument::fromJson(delegate->results.first().toUtf8()).object();
        QCOMPARE(outcome.value(QStringLiteral("status")).toString(), QStringLiteral("SUCCESS"));
        QCOMPARE(delegate->storedDuringCall, delegate->results);
        QCOMPARE(delegate->visibleDuringCall, QList<bool>{true});
    }

    // --- the token request ---

    void tokenFromTheSandbox()
    {
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        configure({.token = {}});
        TestScreen screen;
        LogCapture capture;
        QStringList tokens;
        // Bindings and automation hear of the replaced values and of the token.
        QSignalSpy orderChanged(&screen, &PaymentScreen::orderValuesChanged);
        QSignalSpy tokenChanged(&screen, &PaymentScreen::paymentTokenChanged);
        screen.initPayment(sandbox.baseUrl().toString() + QStringLiteral("/token"), QStringLiteral("sandbox-app"),
                           QStringLiteral("ORD9"), QStringLiteral("5.00"), QStringLiteral("e@x.y"), QStringLiteral("1"), QString(),
                           [&](const QString &token) { tokens << token; });
        QCOMPARE(screen.orderCurrency(), QStringLiteral("INR"));
        QCOMPARE(screen.orderId(), QStringLiteral("ORD9"));
        QCOMPARE(orderChanged.count(), 1);
        QCOMPARE(tokenChanged.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(tokens.size(), 1, 15000);
        QCOMPARE(tokenChanged.count(), 1);
        // Asked again for the same order, nothing it shows changes.
        screen.initPayment(QString(), QStringLiteral("sandbox-app"), QStringLiteral("ORD9"), QStringLiteral("5.00"), QStringLiteral("e@x.y"),
                           QStringLiteral("1"), QString(), {});
        QCOMPARE(orderChanged.count(), 1);
        QCOMPARE(tokens.first(), sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD9"), QStringLiteral("5.00")));
        QCOMPARE(screen.paymentToken(), tokens.first());
        QCOMPARE(capture.lines().value(0), QStringLiteral("INR"));
        QCOMPARE(capture.lines().value(1), sandbox.baseUrl().toString() + QStringLiteral("/token"));
        for (const QString &line : capture.lines())
            QVERIFY(!line.contains(tokens.first()));
    }

    void tokenReplies_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("logged"); // a line expected after the two request lines, or empty
        auto ok = [](const QByteArray &body, int status = 200) {
            return ScriptedHttpServer::response(status, "application/json", body);
        };
        QTest::newRow("object with more members") << ok("{\"checksum\":\"T1\",\"status\":\"OK\"}") << true << "";
        QTest::newRow("HTTP 500 with a good body") << ok("{\"checksum\":\"T1\"}", 500) << true << "";
        QTest::newRow("not JSON") << ok("<html>oops</html>") << false << "illegal value";
        QTest::newRow("JSON array") << ok("[\"T1\"]") << false << "The token reply has no \"checksum\" text.";
        QTest::newRow("no checksum") << ok("{\"token\":\"T1\"}") << false << "The token reply has no \"checksum\" text.";
        QTest::newRow("checksum not a string") << ok("{\"checksum\":42}") << false << "The token reply has no \"checksum\" text.";
        QTest::newRow("connection closed") << QByteArray("") << false << "";
        QTest::newRow("2 MiB body") << ok("{\"checksum\":\"T1\",\"pad\":\"" + QByteArray(2 * 1024 * 1024, 'x') + "\"}") << false << "";
    }
    void tokenReplies()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, accepted);
        QFETCH(QString, logged);
        ScriptedHttpServer server([&](const QByteArray &, const QByteArray &) { return answer; });
        TestScreen screen;
        LogCapture capture;
        QStringList tokens;
        // The reply is handled before the client announces that the request ended.
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        screen.initPayment(server.url(QStringLiteral("/t")).toString(), QStringLiteral("a"), QStringLiteral("o"), QStringLiteral("1"),
                           QStringLiteral("e"), QStringLiteral("p"), QString(), [&](const QString &t) { tokens << t; });
        QTRY_VERIFY_WITH_TIMEOUT(server.requestCount() >= 1, 10000);
        // One line of JSON with the order's six values; the currency's default is not sent.
        const QByteArray body = server.bodies().constFirst();
        const QJsonObject sent = QJsonDocument::fromJson(body).object();
        QCOMPARE(sent.size(), 6);
        QCOMPARE(sent.value(QStringLiteral("orderCurrency")).toString(), QString());
        QCOMPARE(sent.value(QStringLiteral("customerPhone")).toString(), QStringLiteral("p"));
        QVERIFY(!body.contains('\n'));
        if (accepted) {
            QTRY_COMPARE_WITH_TIMEOUT(tokens, QStringList{QStringLiteral("T1")}, 10000);
            QCOMPARE(screen.paymentToken(), QStringLiteral("T1"));
            QCOMPARE(capture.lines().mid(2), QStringList{});
        } else {
            const QStringList expected = QStringList(capture.lines().mid(0, 2)) + (logged.isEmpty() ? QStringList{} : QStringList{logged});
            QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 10000);
            QCOMPARE(capture.lines(), expected);
            QVERIFY(tokens.isEmpty());
            QCOMPARE(screen.paymentToken(), QStringLiteral("tok"));
        }
    }

    void tokenRequestNeedsAnAddress_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("empty") << "";
        QTest::newRow("space in host") << "http://exa mple.com/t";
    }
    void tokenRequestNeedsAnAddress()
    {
        QFETCH(QString, url);
        TestScreen screen;
        LogCapture capture;
        bool called = false;
        screen.initPayment(url, QStringLiteral("a"), QStringLiteral("o"), QStringLiteral("1"), QStringLiteral("e"),
                           QStringLiteral("p"), QStringLiteral("USD"), [&](const QString &) { called = true; });
        // Nothing was sent, so nothing can answer: the completion could only have run at once.
        QVERIFY(eventLoopRoundTrip());
        QVERIFY(!called);
        QCOMPARE(capture.lines(), QStringList{QStringLiteral("USD")});
    }

    // The screen goes while its token request is held: the request goes with it, at once, and
    // its completion never runs.
    void screenClosedWhileTheTokenIsOnItsWay()
    {
        ScriptedHttpServer holding([](const QByteArray &, const QByteArray &) { return QByteArray(); });
        bool called = false;
        auto *screen = new TestScreen;
        screen->initPayment(holding.url(QStringLiteral("/t")).toString(), QStringLiteral("a"), QStringLiteral("o"), QStringLiteral("1"),
                            QStringLiteral("e"), QStringLiteral("p"), QString(), [&](const QString &) { called = true; });
        QTRY_COMPARE_WITH_TIMEOUT(holding.requestCount(), 1, 10000);
        delete screen;
        QTRY_COMPARE_WITH_TIMEOUT(holding.openConnections(), 0, 2000);
        QVERIFY(eventLoopRoundTrip());
        QVERIFY(!called);
    }
};

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
