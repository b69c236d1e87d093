// Card payments against a gateway that misbehaves: it hands back again and again, from a frame,
// with a megabyte of result or with broken escapes; it tries script, local-file and data
// addresses; it sends the buyer to plain HTTP or never reaches HTTPS at all. The checkout keeps
// only results that decode, tells the host of one result per payment, never shows a local file,
// and the buyer can always close it.

#include "CheckoutHelpers.h"

#include <QWebEngineLoadingInfo>

using namespace pelbrook;

namespace {

QString pageText(QWebEngineView *web)
{
    QString text;
    bool done = false;
    web->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 10000) ? text : QStringLiteral("<no text>");
}

} // namespace

class HostileGatewayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cardPayment_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("handsBack");   // the checkout closes by itself
        QTest::addColumn<QString>("message");  // how the result's message starts (or the whole result); empty when nothing is kept
        QTest::newRow("hands back five times") << "repeat" << true << "hand-back";
        QTest::newRow("hands back from a frame") << "frame" << true << "The field";
        QTest::newRow("a megabyte of result") << "huge" << true << "xxxxxxxxxx";
        // The engine hands over an address holding a stray "%" with every "%" re-escaped, which
        // no one after it can tell from an escaped "%": the fragment arrives, and is kept, as
        // the literal text the gateway wrote.
        QTest::newRow("an escape that is not two hex digits") << "bad-escape" << true << "%7B%zz";
        QTest::newRow("escapes that are not UTF-8") << "not-utf8" << true << "";
        QTest::newRow("javascript: address") << "javascript" << false << "";
        QTest::newRow("file: address from a script") << "file" << false << "";
        QTest::newRow("data: address") << "data" << false << "";
        QTest::newRow("redirect to a local file") << "redirect-file" << false << "";
        QTest::newRow("redirect to plain HTTP") << "http" << false << "";
        QTest::newRow("a gateway that never reaches HTTPS") << "plain-gateway" << false << "";
    }
    void cardPayment()
    {
        QFETCH(QString, kind);
        QFETCH(bool, handsBack);
        QFETCH(QString, message);
        const bool plainGateway = kind == QLatin1String("plain-gateway");
        SandboxProcess sandbox(plainGateway ? QStringList{} : QStringList{QStringLiteral("--hostile"), kind});
        QVERIFY(sandbox.isRunning());
        int posts = 0;
        ScriptedHttpServer plain([&](const QByteArray &, const QByteArray &) {
            ++posts;
            return ScriptedHttpServer::response(200, "text/html", "<html><body><p>Plain page</p></body></html>");
        });
        if (plainGateway)
            useEndpoint(&Endpoints::testGateway, plain.url(QString()));
        configure({.token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"))});
        CheckoutContext::shared().result_global = QStringLiteral("earlier");

        PGTabBarViewController container;
        container.resize(Phone);
        auto delegate = std::make_shared<CountingDelegate>();
        container.setResultDelegate(delegate);
        QSignalSpy results(&container, &PGTabBarViewController::paymentResult);
        QSignalSpy closed(&container, &PGTabBarViewController::dismissed);
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        auto *web = container.findChild<BrowserView *>(QStringLiteral("cardWebView"));
        // Loads that ended, other than the form that posts to the gateway.
        QList<QUrl> ended;
        connect(web, &BrowserView::loadingChanged, this, [&](const QWebEngineLoadingInfo &info) {
            if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus && info.url().scheme() != QLatin1String("data"))
                ended << info.url();
        });
        QTest::keyClicks(container.findChild<QLineEdit *>(QStringLiteral("cardNumberTextField")), QStringLiteral("4111111111111111"));
        QTest::mouseClick(container.findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);

        if (handsBack) {
            QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);
            // A page hands back once more 300 ms after it loaded: a timer as long, set in the
            // page now, fires after that one, and the event loop then goes round.
            web->page()->runJavaScript(QStringLiteral("setTimeout(function() { document.title = 'settled'; }, 300);"));
            QTRY_COMPARE_WITH_TIMEOUT(web->title(), QStringLiteral("settled"), 10000);
            QVERIFY(eventLoopRoundTrip());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(plainGateway ? posts > 0 : !sandbox.lastForm().isEmpty(), 30000);
            // The gateway's page has loaded, or failed to, and its scripts have run (the page's
            // text is read after them).
            QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 30000);
            QCOMPARE(closed.count(), 0);
            // Whatever the page tried, no local file or forged document is on show.
            QVERIFY2(QStringList({QStringLiteral("https"), QStringLiteral("http"), QStringLiteral("chrome-error")})
                         .contains(web->url().scheme()),
                     qPrintable(web->url().toString()));
            const QString text = pageText(web);
            QVERIFY(eventLoopRoundTrip());
            QCOMPARE(closed.count(), 0);
            QVERIFY2(!text.contains(QLatin1String("root:")) && !text.contains(QLatin1String("Enter your card again")),
                     qPrintable(text.left(200)));
            // The buyer closes the checkout: the close button is on top, and it works.
            QAbstractButton *close = visibleChild<QAbstractButton>(container, QStringLiteral("closeButton"));
            QVERIFY(close);
            const QPoint centre = close->mapTo(&container, close->rect().center());
            QWidget *top = container.childAt(centre);
            QVERIFY(top == close || close->isAncestorOf(top));
            QTest::mouseClick(close, Qt::LeftButton);
            QCOMPARE(closed.count(), 1);
            QVERIFY(!container.isVisible());
        }

        if (message.isEmpty()) {
            QCOMPARE(delegate->results, QStringList{});
            QCOMPARE(results.count(), 0);
            QCOMPARE(container.getResult(), QStringLiteral("earlier"));
            return;
        }
        // One result, told once to the delegate and once by the signal, and the one kept.
        QCOMPARE(delegate->results.size(), 1);
        QCOMPARE(results.count(), 1);
        QCOMPARE(results.first().first().toString(), delegate->results.first());
        QCOMPARE(container.getResult(), delegate->results.first());
        if (kind == QLatin1String("bad-escape")) {
            QCOMPARE(delegate->results.first(), message);
            return;
        }
        const QJsonObject outcome = QJsonDocument::fromJson(delegate->results.first().toUtf8()).object();
        QCOMPARE(outcome.value(QStringLiteral("orderId")).toString(), QStringLiteral("ORD1"));
        QVERIFY2(outcome.value(QStringLiteral("message")).toString().startsWith(message),
                 qPrintable(delegate->results.first().left(200)));
        if (kind == QLatin1String("huge"))
            QCOMPARE(outcome.value(QStringLiteral("message")).toString().size(), 1024 * 1024);
    }
};

QTEST_MAIN(HostileGatewayTest)
#include "tst_hostile_gateway.moc"
