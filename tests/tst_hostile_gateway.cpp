// Card payments against gateways, banks and networks that misbehave. The sandbox's hostile kinds
// hand back again and again, with a megabyte of result or broken escapes, and try script,
// local-file and data addresses; the test's own HTTPS servers on loopback play pages that open
// dialogs, frame another origin, send the buyer to plain HTTP or to other programs, keep state
// for the next buyer, download, ask for permissions, never answer or break off, and lose their
// renderer. Whatever they do, the host process lives, the host hears at most one result, only
// from the payment page itself, and the buyer can always close and never sees a blank page.

#include "CheckoutHelpers.h"
#include "LoopbackCertificate.h"

#include "core/PaymentScreen_p.h"
#include "platform/web/BrowserProfile_p.h"
#include "platform/web/PageDialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineLoadingInfo>

#include <csignal>

using namespace pelbrook;

namespace {

QByteArray handBack(const char *status)
{
    const QByteArray result = QByteArray(R"({"orderId":"ORD1","status":")") + status + R"(","message":"m"})";
    return "ios-sdk://payment-result#" + result.toPercentEncoding();
}

QByteArray html(const QByteArray &body)
{
    return ScriptedHttpServer::response(200, "text/html; charset=utf-8", "<!DOCTYPE html><html><body>" + body + "</body></html>");
}

// Whether process @p pid has ended (a zombie not yet reaped has too).
bool processEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

// A page's dialog waits in an event loop of its own, beneath which the test's waits are stuck:
// what the buyer or the host does while one is open runs from the dialog's showing instead.
class DialogWatcher : public QObject
{
public:
    explicit DialogWatcher(std::function<void(PageDialog *)> action)
        : m_action(std::move(action))
    {
        qApp->installEventFilter(this);
    }
    ~DialogWatcher() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("pageDialog")) {
            ++shown;
            QTimer::singleShot(50, this, [this, dialog = QPointer<PageDialog>(static_cast<PageDialog *>(watched))] {
                if (dialog)
                    m_action(dialog);
            });
        }
        return false;
    }

private:
    std::function<void(PageDialog *)> m_action;
};

// Catches whatever a page would hand to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

} // namespace

class HostileGatewayTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_certificates;
    // The temporary folder of this process alone: what the engine leaves there is the rows'.
    QTemporaryDir m_temporary;
    std::optional<ScriptedHttpServer::Tls> m_tls;
    QString m_pin;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temporary.isValid());
        qputenv("TMPDIR", m_temporary.path().toLocal8Bit());
        m_tls = loopbackCertificate(m_certificates.path(), &m_pin);
    }

    void sandboxKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("handsBack");   // the checkout closes by itself
        QTest::addColumn<QString>("message");  // how the result's message starts (or the whole result); empty when nothing is kept
        // Four frames hand back first; only the page's own, the fifth, counts.
        QTest::newRow("hands back five times") << "repeat" << true << "hand-back 5";
        QTest::newRow("hands back from a frame") << "frame" << false << "";
        QTest::newRow("a megabyte of result") << "huge" << true << "xxxxxxxxxx";
        // The engine hands over an address holding a stray "%" with every "%" re-escaped, which
        // no one can tell from an escaped "%": the fragment is kept as the gateway wrote it.
        QTest::newRow("an escape that is not two hex digits") << "bad-escape" << true << "%7B%zz";
        QTest::newRow("escapes that are not UTF-8") << "not-utf8" << true << "";
        QTest::newRow("javascript: address") << "javascript" << false << "";
        QTest::newRow("file: address from a script") << "file" << false << "";
        QTest::newRow("data: address") << "data" << false << "";
        QTest::newRow("redirect to a local file") << "redirect-file" << false << "";
        QTest::newRow("redirect to plain HTTP") << "http" << false << "";
    }
    void sandboxKinds()
    {
        QFETCH(QString, kind);
        QFETCH(bool, handsBack);
        QFETCH(QString, message);
        SandboxProcess sandbox({QStringLiteral("--hostile"), kind});
        QVERIFY(sandbox.isRunning());
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
            // The page went with the checkout: nothing it had still planned can hand back.
            QTRY_COMPARE_WITH_TIMEOUT(livePageProfiles(), 0, 10000);
            QVERIFY(eventLoopRoundTrip());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!sandbox.lastForm().isEmpty(), 30000);
            // The gateway's page has loaded, or failed to, and its scripts have run.
            QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 30000);
            QCOMPARE(closed.count(), 0);
            // Whatever the page tried, no local file or forged document is on show.
            QVERIFY2(web->url().scheme() != QLatin1String("file"), qPrintable(web->url().toString()));
            const QString text = pageText(web);
            QVERIFY(eventLoopRoundTrip());
            QCOMPARE(closed.count(), 0);
            QVERIFY2(!text.contains(QLatin1String("root:")) && !text.contains(QLatin1String("Enter your card again")),
                     qPrintable(text.left(200)));
            // Refused on its way from the gateway, the plain page leaves the buyer a notice.
            if (kind == QLatin1String("http"))
                QVERIFY(visibleChild<QWidget>(container, QStringLiteral("gatewayNotice")));
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

    // What a page or the network does, what the buyer or the host does then, and what must
    // follow: the result the host hears (none, or its status), the notice the buyer reads, and
    // whether closing tells the host the outcome is unknown.
    void pages_data()
    {
        QTest::addColumn<QByteArray>("page");        // the gateway's answer to the form
        QTest::addColumn<QString>("then");           // what happens next
        QTest::addColumn<QString>("result");         // the status handed back, or empty
        QTest::addColumn<QString>("notice");         // "unreachable", "lost", or empty
        QTest::addColumn<bool>("interrupted");

        const QByteArray dialogs = html("<p id='p'>Bank</p><script>onload=function(){setTimeout(function(){"
                                        "var r=confirm('Leave?');document.title='answered '+r;},50);};</script>");
        QTest::newRow("host dismisses during a confirm()") << dialogs << "dismiss in dialog" << "" << "" << true;
        QTest::newRow("deleted on close during a confirm()") << dialogs << "close button in dialog, deleted on close" << "" << "" << true;
        QTest::newRow("prompt() answered in the checkout")
            << html("<script>onload=function(){setTimeout(function(){var v=prompt('PIN?','');location.href='"
                    + handBack("SUCCESS") + "'.replace('SUCCESS',v);},50);};</script>")
            << "answer prompt FAILED" << "FAILED" << "" << false;
        QTest::newRow("alert() in a loop")
            << html("<script>onload=function(){setTimeout(function(){for(var i=0;i<50;++i)alert('again '+i);"
                    "document.title='done';},50);};</script>")
            << "count dialogs" << "" << "" << true;
        QTest::newRow("forged hand-back from another origin's frame")
            << html("<iframe src='OTHER/frame'></iframe><script>setTimeout(function(){location.href='" + handBack("FAILED")
                    + "';},1500);</script>")
            << "" << "FAILED" << "" << false;
        QTest::newRow("to plain HTTP, top and frame")
            << html("<iframe src='PLAIN/frame'></iframe><script>setTimeout(function(){location.href='PLAIN/pay';},300);</script>")
            << "settle" << "" << "" << true;
        QTest::newRow("links to other programs clicked")
            << html("<a id='a' href='upi://pay?pa=x@y' style='display:block;width:100%;height:100px'>UPI</a>"
                    "<a href='intent://pay#Intent;end' style='display:block;height:100px'>intent</a>"
                    "<a href='tel:123' style='display:block;height:100px'>tel</a><script>requestAnimationFrame(()=>requestAnimationFrame(()=>document.title='drawn'))</script>")
            << "click links" << "" << "" << true;
        QTest::newRow("the next buyer sees nothing of the first")
            << html("<script>var seen=document.cookie+'|'+(localStorage.getItem('k')||'');localStorage.setItem('k','first');"
                    "Promise.all([caches.keys(),indexedDB.databases()]).then(function(r){indexedDB.open('db',1);"
                    "var n=r[0].length+r[1].length;return caches.open('c').then(function(){document.title='seen:'+seen+'|'+n;});});"
                    "</script>")
            << "second checkout" << "" << "" << true;
        QTest::newRow("a download by navigation")
            << html("<script>setTimeout(function(){location.href='/download';},100);</script>") << "download" << "" << "" << true;
        QTest::newRow("closed and kept by the host, the page polling")
            << html("<script>setInterval(function(){fetch('/ping');},200);setTimeout(function(){prompt('ATM PIN?');},1500);"
                    "</script>")
            << "keep after close" << "" << "" << true;
        QTest::newRow("permissions asked for")
            << html("<script>navigator.geolocation.getCurrentPosition(function(){document.title='granted';},"
                    "function(e){Notification.requestPermission().then(function(p){document.title='denied '+p;});});</script>")
            << "title denied denied" << "" << "" << true;
        QTest::newRow("connection refused") << QByteArray() << "refused" << "" << "unreachable" << false;
        QTest::newRow("certificate not the pinned one") << QByteArray() << "unpinned" << "" << "unreachable" << false;
        QTest::newRow("the form goes to plain HTTP") << QByteArray() << "plain gateway" << "" << "unreachable" << false;
        QTest::newRow("the form is never answered") << QByteArray() << "silent" << "" << "" << true;
        QTest::newRow("connection breaks off mid-page")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n"
                          "<html><body><p>Please wait&hellip; Do not close this window</p>")
            << "" << "" << "lost" << true;
        QTest::newRow("the renderer dies on the gateway's page") << html("<p>Bank</p>") << "kill renderer" << "" << "lost" << true;
        QTest::newRow("Escape and Tab on the gateway's page") << html("<input id='otp' autofocus>") << "escape" << "" << "" << true;
    }
    void pages()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, then);
        QFETCH(QString, result);
        QFETCH(QString, notice);
        QFETCH(bool, interrupted);

        int pings = 0;
        ScriptedHttpServer plain([&](const QByteArray &, const QByteArray &) { return html("<p>Plain page</p>"); });
        ScriptedHttpServer other([](const QByteArray &, const QByteArray &) {
            return html("<script>location.href='" + handBack("SUCCESS") + "';</script>");
        }, m_tls);
        // The rows' pages name the other servers, whose ports are known only now.
        auto resolve = [&](const QByteArray &response) {
            const qsizetype end = response.indexOf("\r\n\r\n") + 4;
            QByteArray body = response.mid(end);
            body.replace("OTHER", other.url(QString()).toString().toUtf8()).replace("PLAIN", plain.url(QString()).toString().toUtf8());
            if (body.size() == response.size() - end)
                return response;
            QByteArray head = response.left(end);
            head.replace("Content-Length: " + QByteArray::number(response.size() - end), "Content-Length: " + QByteArray::number(body.size()));
            return head + body;
        };
        ScriptedHttpServer *gatewayServer = nullptr;
        ScriptedHttpServer gateway([&](const QByteArray &path, const QByteArray &) -> QByteArray {
            if (path == "/ping")
                return ++pings, ScriptedHttpServer::response(204, "text/plain", {});
            if (path == "/download")
                return ScriptedHttpServer::response(200, "application/octet-stream", QByteArray(78 * 1024, 'x'),
                                                    "Content-Disposition: attachment; filename=statement.bin\r\n");
            if (then == QLatin1String("silent"))
                return QByteArray();
            // The first buyer's payment leaves a cookie with the gateway.
            if (gatewayServer->requestCount() == 1 && then == QLatin1String("second checkout"))
                return resolve(page).replace("Content-Type:", "Set-Cookie: buyer=first; Secure; Path=/\r\nContent-Type:");
            return resolve(page);
        }, m_tls);
        gatewayServer = &gateway;
        Endpoints endpoints = pelbrook::endpoints();
        endpoints.testGateway = then == QLatin1String("plain gateway") ? plain.url(QString()) : gateway.url(QString());
        endpoints.pinnedCertificateSha256 = then == QLatin1String("unpinned") ? QStringLiteral("ab").repeated(32) : m_pin;
        if (then == QLatin1String("refused")) {
            QTcpServer closedPort;
            closedPort.listen(QHostAddress::LocalHost);
            endpoints.testGateway = QUrl(QStringLiteral("https://127.0.0.1:%1").arg(closedPort.serverPort()));
        }
        setEndpoints(endpoints);
        configure({.token = QStringLiteral("token")});
        UrlCatcher desktop;
        for (const char *scheme : {"upi", "intent", "tel", "http", "https", "file"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &desktop, "open");
        auto handlers = qScopeGuard([] {
            for (const char *scheme : {"upi", "intent", "tel", "http", "https", "file"})
                QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        });
        const QStringList scratchBefore = QDir::temp().entryList({QStringLiteral("pelbrook-checkout-*")});
        LogCapture log;

        // Presented over a window of the host's, as the README shows.
        QWidget host;
        host.resize(Phone);
        host.show();
        QPointer<PGTabBarViewController> container = new PGTabBarViewController(&host);
        if (then.contains(QLatin1String("deleted on close")))
            container->setAttribute(Qt::WA_DeleteOnClose);
        container->resize(Phone);
        auto delegate = std::make_shared<CountingDelegate>();
        container->setResultDelegate(delegate);
        QStringList heard;
        connect(container, &PGTabBarViewController::paymentInterrupted, this, [&] { heard << QStringLiteral("interrupted"); });
        connect(container, &PGTabBarViewController::dismissed, this, [&] { heard << QStringLiteral("dismissed"); });
        container->present();
        QVERIFY(QTest::qWaitForWindowExposed(container));
        auto *web = container->findChild<BrowserView *>(QStringLiteral("cardWebView"));
        auto *screen = container->findChild<cardViewController *>();
        PaymentScreenPrivate::get(screen)->stillWaitingAfterMs = 1500;
        QTest::keyClicks(container->findChild<QLineEdit *>(QStringLiteral("cardNumberTextField")), QStringLiteral("4111111111111111"));
        QTest::mouseClick(container->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        const auto closeButton = [&] { return visibleChild<QAbstractButton>(*container, QStringLiteral("closeButton")); };
        const auto gatewayShown = [&] { return web->url().scheme() == QLatin1String("https") && !visibleChild<QWidget>(*container, QStringLiteral("containerView")); };

        QPointer<QWidget> dialogWindow;
        DialogWatcher dialogs([&](PageDialog *dialog) {
            dialogWindow = dialog->window();
            if (then.startsWith(QLatin1String("dismiss")))
                container->dismiss();
            else if (then.contains(QLatin1String("close button")))
                QTest::mouseClick(closeButton(), Qt::LeftButton);
            else if (then.startsWith(QLatin1String("answer prompt"))) {
                auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("pageDialogText"));
                QTest::keyClicks(field, then.section(QLatin1Char(' '), 2));
                QTest::keyClick(field, Qt::Key_Return);
            } else {
                QTest::mouseClick(dialog->findChild<QAbstractButton *>(QStringLiteral("pageDialogOk")), Qt::LeftButton);
            }
        });
        if (then.contains(QLatin1String("in dialog"))) {
            // The dialog was the checkout's, inside its window, and closing went on regardless.
            QTRY_VERIFY_WITH_TIMEOUT(container.isNull() || !container->isVisible(), 30000);
            QCOMPARE(dialogs.shown, 1);
            if (then.contains(QLatin1String("deleted")))
                QTRY_VERIFY(container.isNull());
            else
                QCOMPARE(dialogWindow.data(), container->window());
        } else if (then == QLatin1String("count dialogs")) {
            // After the first few, the rest are silenced, and the page goes on.
            QTRY_COMPARE_WITH_TIMEOUT(web->title(), QStringLiteral("done"), 30000);
            QCOMPARE(dialogs.shown, BrowserView::DialogsPerPage);
            QVERIFY(!web->openDialog());
        } else if (then == QLatin1String("click links")) {
            QTRY_VERIFY_WITH_TIMEOUT(gatewayShown() && web->title() == QLatin1String("drawn"), 30000); // clicks need a frame
            QWidget *surface = web->engineView()->focusProxy();
            for (int y : {50, 150, 250})
                QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(40, y));
            QTRY_COMPARE_WITH_TIMEOUT(log.lines().filter(QStringLiteral("was refused")).size(), 3, 10000);
        } else if (then == QLatin1String("second checkout")) {
            QTRY_VERIFY_WITH_TIMEOUT(web->title().startsWith(QLatin1String("seen:")), 30000);
            QCOMPARE(web->title(), QStringLiteral("seen:buyer=first||0"));
            QTest::mouseClick(closeButton(), Qt::LeftButton);
            // The next buyer, at the same till.
            PGTabBarViewController next(&host);
            next.resize(Phone);
            next.present();
            QVERIFY(QTest::qWaitForWindowExposed(&next));
            QTest::keyClicks(next.findChild<QLineEdit *>(QStringLiteral("cardNumberTextField")), QStringLiteral("4111111111111111"));
            QTest::mouseClick(next.findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
            auto *nextWeb = next.findChild<BrowserView *>(QStringLiteral("cardWebView"));
            QTRY_VERIFY_WITH_TIMEOUT(nextWeb->title().startsWith(QLatin1String("seen:")), 30000);
            QCOMPARE(nextWeb->title(), QStringLiteral("seen:||0"));
            QList<QByteArray> posts = gateway.heads();
            posts.removeIf([](const QByteArray &head) { return !head.startsWith("POST "); });
            QCOMPARE(posts.size(), 2);
            QVERIFY2(!posts.last().contains("buyer=first"), posts.last().constData());
            next.dismiss();
        } else if (then == QLatin1String("download")) {
            QTRY_VERIFY_WITH_TIMEOUT(!log.lines().filter(QStringLiteral("A download")).isEmpty(), 30000);
        } else if (then == QLatin1String("keep after close")) {
            QTRY_VERIFY_WITH_TIMEOUT(pings >= 2, 30000);
            const qint64 renderer = web->page()->renderProcessPid();
            QTest::mouseClick(closeButton(), Qt::LeftButton);
            QVERIFY(!container->isVisible());
            QTRY_COMPARE_WITH_TIMEOUT(livePageProfiles(), 0, 10000);
            const int atClose = pings;
            // Once its renderer has ended, nothing of the page is left to ask or prompt.
            QTRY_VERIFY_WITH_TIMEOUT(processEnded(renderer), 10000);
            QVERIFY(eventLoopRoundTrip());
            QCOMPARE(pings, atClose);
            QVERIFY(!container->findChild<PageDialog *>());
        } else if (then.startsWith(QLatin1String("title"))) {
            QTRY_COMPARE_WITH_TIMEOUT(web->title(), then.section(QLatin1Char(' '), 1), 30000);
        } else if (then == QLatin1String("silent")) {
            QTRY_VERIFY_WITH_TIMEOUT(gateway.requestCount() == 1, 30000);
            auto *message = container->findChild<QLabel *>(QStringLiteral("busyMessage"));
            QTRY_VERIFY_WITH_TIMEOUT(message && message->isVisible(), 10000);
            QCOMPARE(message->text(), QStringLiteral("Still waiting for the bank…"));
        } else if (then == QLatin1String("kill renderer")) {
            QTRY_VERIFY_WITH_TIMEOUT(gatewayShown(), 30000);
            const qint64 renderer = web->page()->renderProcessPid();
            QVERIFY(renderer > 0);
            QVERIFY(::kill(pid_t(renderer), SIGKILL) == 0);
        } else if (then == QLatin1String("escape")) {
            QTRY_VERIFY_WITH_TIMEOUT(gatewayShown(), 30000);
            // The buyer types into the page at once, and Escape there is the page's.
            QTRY_VERIFY(web->engineView()->focusProxy()->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(eventLoopRoundTrip());
            QVERIFY(container->isVisible());
            // Tab reaches the close button.
            const auto reached = [&] { return QApplication::focusWidget() == closeButton(); };
            for (int presses = 0; presses < 6 && !reached(); ++presses) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                if (QTest::qWaitFor(reached, 1000))
                    break;
            }
            QCOMPARE(QApplication::focusWidget(), closeButton());
        } else if (then == QLatin1String("settle")) {
            QTRY_VERIFY_WITH_TIMEOUT(!log.lines().filter(QStringLiteral("a http: address")).isEmpty(), 30000);
        }

        if (!notice.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(visibleChild<QWidget>(*container, QStringLiteral("gatewayNotice")), 30000);
            const QString text = container->findChild<QLabel *>(QStringLiteral("gatewayNoticeText"))->text();
            QCOMPARE(text, GatewayNotice::textFor(notice == QLatin1String("lost") ? GatewayNotice::Kind::ConnectionLost
                                                                                    : GatewayNotice::Kind::Unreachable));
            // Nothing of the engine's own error page is on top of it.
            const QPoint middle = container->rect().center();
            QWidget *top = container->childAt(middle);
            QVERIFY(top && (top->objectName() == QLatin1String("gatewayNotice") || top->parentWidget()->objectName() == QLatin1String("gatewayNotice")));
        }
        if (result.isEmpty() && container && container->isVisible()) {
            QVERIFY(closeButton());
            QTest::mouseClick(closeButton(), Qt::LeftButton);
        }
        QTRY_VERIFY2_WITH_TIMEOUT(container.isNull() || !container->isVisible(), qPrintable(log.lines().join(QLatin1Char(0x0a))), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(livePageProfiles(), 0, 10000);

        const QStringList expected = interrupted ? QStringList{QStringLiteral("interrupted"), QStringLiteral("dismissed")}
                                                 : QStringList{QStringLiteral("dismissed")};
        QCOMPARE(heard, expected);
        if (result.isEmpty()) {
            QCOMPARE(delegate->results, QStringList{});
        } else {
            QCOMPARE(delegate->results.size(), 1);
            QCOMPARE(QJsonDocument::fromJson(delegate->results.first().toUtf8()).object().value(QStringLiteral("status")).toString(), result);
        }
        // Nothing went to another program or a plain-HTTP server; the private folder went too.
        QCOMPARE(desktop.urls, QList<QUrl>{});
        QCOMPARE(plain.requestCount(), 0);
        QTRY_COMPARE(QDir::temp().entryList({QStringLiteral("pelbrook-checkout-*")}), scratchBefore);
    }
};

QTEST_MAIN(HostileGatewayTest)
#include "tst_hostile_gateway.moc"
