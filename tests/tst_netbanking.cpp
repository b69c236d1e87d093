// The net banking screen: reading the bank list document, downloading it from servers that
// behave and servers that do not, the list through the real widgets, the pay action, the
// layout at several sizes, and whole payments against the sandbox through the public API.

#include "CheckoutHelpers.h"
#include "LogCapture.h"
#include "SandboxProcess.h"
#include "ScriptedHttpServer.h"

#include "netbanking/BankListModel.h"
#include "netbanking/BankListParser.h"
#include "platform/BrowserView.h"
#include "platform/HttpClient.h"
#include "platform/NavigationController.h"
#include "platform/WorkerPool.h"

#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/netBankingViewController.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QPointer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTabBar>
#include <QScopeGuard>
#include <QSemaphore>
#include <QThreadPool>
#include <QTest>

using namespace pelbrook;

namespace {

const QString TokenLine = QStringLiteral("Error: No payment token received. Please try again sending new request for token (initPayment).");
constexpr qint64 Bound = 8 * 1024 * 1024;

void configure(const QString &token, const QString &env = QStringLiteral("TEST"))
{
    PGTabBarViewController entry;
    entry.setConfig(env, QStringLiteral("sandbox-app"), QString(), QStringLiteral("Acme Books"), {}, QString(),
                    QStringLiteral("2f6fde"), QStringLiteral("6a3fd0"));
    entry.createOrder(QStringLiteral("ORD1"), QStringLiteral("100.00"), QStringLiteral("buyer@example.com"), QStringLiteral("9999999999"),
                      token, QStringLiteral("Two books"), QStringLiteral("Asha Rao"), QStringLiteral("INR"), QString());
}

QStringList entries(const BankRows &banks)
{
    QStringList out;
    for (const MyStruct &bank : banks.toList())
        out << bank.code + QLatin1Char(':') + bank.name;
    return out;
}

// A document of @p size bytes exactly: one bank whose name pads it out.
QByteArray documentOfSize(qint64 size)
{
    const QByteArray head = R"([{"code":"3001","bankName":")";
    const QByteArray tail = R"("}])";
    return head + QByteArray(size - head.size() - tail.size(), 'x') + tail;
}

// A checkout on screen with the net banking tab shown, and handles on its widgets.
struct Checkout {
    explicit Checkout(QSize size = QSize(390, 844 + NavigationController::BarHeight + TabBarController::TabBarHeight))
    {
        container.resize(size);
        container.present();
        container.activateWindow();
        container.setSelectedIndex(tabIndex(container, QStringLiteral("Net Banking")));
        screen = container.findChild<netBankingViewController *>();
        table = container.findChild<QListView *>(QStringLiteral("netbankingTable"));
        pay = container.findChild<QAbstractButton *>(QStringLiteral("nb_paySecurelyBtn"));
    }
    QWidget *root() { return screen->view(); }
    bool overlayShown()
    {
        QWidget *overlay = root()->findChild<QWidget *>(QStringLiteral("containerView"));
        return overlay && overlay->isVisible();
    }
    void tapRow(int row)
    {
        const QModelIndex index = table->model()->index(row, 0);
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
    }

    PGTabBarViewController container;
    netBankingViewController *screen = nullptr;
    QListView *table = nullptr;
    QAbstractButton *pay = nullptr;
};

// Lets a download's reading on the worker thread finish and its result arrive.
void settle()
{
    workerPool().waitForDone();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class NetBankingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        useUnreachableEndpoints();
        configure(QStringLiteral("tok"));
    }

    // --- reading the document ---

    void parsing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("reload");
        QTest::addColumn<QStringList>("banks");
        QTest::newRow("two banks in order") << QByteArray(R"([{"code":"2","bankName":"B"},{"code":"1","bankName":"A"}])") << true
                                            << QStringList{"2:B", "1:A"};
        QTest::newRow("numeric code skipped") << QByteArray(R"([{"code":1,"bankName":"A"},{"code":"2","bankName":"B"}])") << true
                                              << QStringList{"2:B"};
        QTest::newRow("numeric name skipped") << QByteArray(R"([{"code":"1","bankName":7},{"code":"2","bankName":"B"}])") << true
                                              << QStringList{"2:B"};
        QTest::newRow("null and missing members") << QByteArray(R"([{"code":null,"bankName":"A"},{"bankName":"B"},{"code":"3"}])")
                                                  << true << QStringList{};
        QTest::newRow("elements that are not objects") << QByteArray(R"(["x",1,null,[],{"code":"4","bankName":"D"}])") << true
                                                       << QStringList{"4:D"};
        QTest::newRow("other members ignored") << QByteArray(R"([{"code":"1","bankName":"A","logo":"x","rank":3}])") << true
                                               << QStringList{"1:A"};
        QTest::newRow("duplicate codes both kept") << QByteArray(R"([{"code":"1","bankName":"A"},{"code":"1","bankName":"A"}])") << true
                                                   << QStringList{"1:A", "1:A"};
        QTest::newRow("escaped and non-Latin text") << QByteArray(R"([{"code":"\u0031","bankName":"Bank \u0022Ünion\u0022 银行"}])") << true
                                                    << QStringList{QStringLiteral("1:Bank \"Ünion\" 银行")};
        QTest::newRow("empty array") << QByteArray("[]") << true << QStringList{};
        QTest::newRow("top-level object") << QByteArray(R"({"code":"1","bankName":"A"})") << false << QStringList{};
        QTest::newRow("not JSON") << QByteArray("<html>Service Unavailable</html>") << false << QStringList{};
        QTest::newRow("empty body") << QByteArray() << false << QStringList{};
        QTest::newRow("truncated") << QByteArray(R"([{"code":"1","bankName":"A"},{"code":)") << false << QStringList{};
        QTest::newRow("not UTF-8") << QByteArray("[{\"code\":\"1\",\"bankName\":\"\xff\xfe\"}]") << false << QStringList{};
        QTest::newRow("deeply nested") << QByteArray(100000, '[') + QByteArray(100000, ']') << false << QStringList{};
        QTest::newRow("top-level string") << QByteArray(R"("banks")") << false << QStringList{};
    }
    void parsing()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, reload);
        QFETCH(QStringList, banks);
        const std::optional<BankRows> parsed = parseBankList(body);
        QCOMPARE(parsed.has_value(), reload);
        if (parsed)
            QCOMPARE(entries(*parsed), banks);
    }

    // --- downloading ---

    void download_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("reloads");
        QTest::addColumn<int>("rows");
        const QByteArray two = R"([{"code":"3001","bankName":"A"},{"code":"3002","bankName":"B"}])";
        QTest::newRow("a list") << ScriptedHttpServer::response(200, "application/json", two) << 1 << 2;
        QTest::newRow("an error status with a list") << ScriptedHttpServer::response(503, "application/json", two) << 1 << 2;
        QTest::newRow("an empty list") << ScriptedHttpServer::response(200, "application/json", "[]") << 1 << 0;
        QTest::newRow("garbage") << ScriptedHttpServer::response(200, "text/html", "<h1>oops</h1>") << 0 << 0;
        QTest::newRow("connection closed") << QByteArray("") << 0 << 0;
        QTest::newRow("just under the bound") << ScriptedHttpServer::response(200, "application/json", documentOfSize(Bound - 100)) << 1 << 1;
        QTest::newRow("over the bound") << ScriptedHttpServer::response(200, "application/json", documentOfSize(Bound + 1)) << 0 << 0;
        QTest::newRow("over the bound, no length given")
            << "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n" + documentOfSize(Bound + 1) << 0 << 0;
        // A whole document, but the connection ends before the length the server announced.
        QTest::newRow("cut short") << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 100\r\n\r\n[]") << 0 << 0;
    }
    void download()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, reloads);
        QFETCH(int, rows);
        ScriptedHttpServer server([&](const QByteArray &, const QByteArray &) { return answer; });
        Endpoints e = endpoints();
        e.bankList = server.url(QStringLiteral("/pg/iosbanks.json"));
        setEndpoints(e);
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        LogCapture log;
        Checkout c;
        QSignalSpy reset(c.table->model(), &QAbstractItemModel::modelReset);
        QVERIFY(finished.wait(20000));
        settle();
        // One request, even when the connection is dropped without an answer.
        QCOMPARE(server.paths(), QList<QByteArray>{"/pg/iosbanks.json"});
        QCOMPARE(reset.count(), reloads);
        QCOMPARE(c.table->model()->rowCount(), rows);
        QCOMPARE(c.screen->list().size(), rows);
        // The buyer is never told; the list is simply empty.
        QCOMPARE(log.lines(), QStringList{});
    }

    // The list is read on the library's own thread: a host's pool, busy to its last thread,
    // does not hold it up. (Nothing is painted meanwhile: Qt's own painting would wait for that
    // pool too.)
    void listReadWhileTheHostsPoolIsBusy()
    {
        QThreadPool &hosts = *QThreadPool::globalInstance();
        QSemaphore release;
        for (int i = 0; i < hosts.maxThreadCount(); ++i)
            hosts.start([&release] { release.acquire(); });
        const auto freeTheHostsPool = qScopeGuard([&] {
            release.release(hosts.maxThreadCount());
            hosts.waitForDone();
        });
        ScriptedHttpServer server([](const QByteArray &, const QByteArray &) {
            return ScriptedHttpServer::response(200, "application/json", R"([{"code":"3001","bankName":"A"}])");
        });
        Endpoints e = endpoints();
        e.bankList = server.url(QStringLiteral("/pg/iosbanks.json"));
        setEndpoints(e);
        netBankingViewController screen;
        screen.view();
        QTRY_COMPARE_WITH_TIMEOUT(screen.list().size(), 1, 20000);
    }

    void slowServerLeavesTheListEmpty()
    {
        ScriptedHttpServer holding([](const QByteArray &, const QByteArray &) { return QByteArray(); });
        Endpoints e = endpoints();
        e.bankList = holding.url(QStringLiteral("/pg/iosbanks.json"));
        setEndpoints(e);
        Checkout c;
        QTRY_COMPARE(holding.requestCount(), 1);
        QCOMPARE(c.table->model()->rowCount(), 0);
        // The buyer can still pay, with the preset code.
        QVERIFY(c.pay->isVisible());
        QCOMPARE(c.screen->nb_code(), std::optional<QString>(QStringLiteral("3333")));
    }

    void replyForADestroyedScreenIsDropped()
    {
        ScriptedHttpServer holding([](const QByteArray &, const QByteArray &) { return QByteArray(); });
        Endpoints e = endpoints();
        e.bankList = holding.url(QStringLiteral("/pg/iosbanks.json"));
        setEndpoints(e);
        {
            Checkout c;
            QTRY_COMPARE(holding.requestCount(), 1);
        }
        // The request went with the screen.
        QTRY_COMPARE(holding.openConnections(), 0);
    }

    // The screen goes while its list is being read on the worker thread.
    void screenGoesWhileTheListIsRead()
    {
        QByteArray big = "[";
        for (int i = 0; i < 50000; ++i)
            big += (i ? "," : "") + QByteArray(R"({"code":"1","bankName":"A Bank"})");
        big += "]";
        ScriptedHttpServer server([&](const QByteArray &, const QByteArray &) { return ScriptedHttpServer::response(200, "application/json", big); });
        Endpoints e = endpoints();
        e.bankList = server.url(QStringLiteral("/pg/iosbanks.json"));
        setEndpoints(e);
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        auto c = std::make_unique<Checkout>();
        QPointer<QAbstractItemModel> model = c->table->model();
        QVERIFY(finished.wait(20000));
        c.reset();
        QVERIFY(!model);
        settle();
    }

    // --- the list through the widgets, against the sandbox ---

    void listFromTheSandbox()
    {
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        sandbox.useAsEndpoints();
        Checkout c;
        QTRY_VERIFY_WITH_TIMEOUT(c.table->model()->rowCount() > 0, 20000);
        // The sample list's thirty banks, in document order; its malformed elements are skipped.
        const QList<MyStruct> banks = c.screen->list();
        QCOMPARE(banks.size(), 30);
        QCOMPARE(banks.first(), MyStruct(QStringLiteral("Amberline Bank"), QStringLiteral("3001")));
        QCOMPARE(banks.at(1).code, QStringLiteral("3002"));
        QCOMPARE(c.table->model()->index(0, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Amberline Bank"));
        QVERIFY(!c.table->model()->index(0, 0).data(Qt::DecorationRole).value<QImage>().isNull());

        // Rows are announced by the bank's name.
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(c.table);
        QVERIFY(list && list->childCount() > 0);
        QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("Amberline Bank"));
        // Logos are looked up for the rows drawn, not for the whole list.
        const qsizetype looked = static_cast<BankListModel *>(c.table->model())->logosLookedUp();
        QVERIFY2(looked > 0 && looked < 30, qPrintable(QString::number(looked)));

        c.tapRow(2);
        c.tapRow(0);
        QCOMPARE(c.screen->nb_code(), std::optional<QString>(QStringLiteral("3001")));
        // A control-click does not unmark the chosen bank.
        QTest::mouseClick(c.table->viewport(), Qt::LeftButton, Qt::ControlModifier, c.table->visualRect(c.table->model()->index(0, 0)).center());
        QVERIFY(c.table->selectionModel()->isRowSelected(0));
        QCOMPARE(c.screen->nb_code(), std::optional<QString>(QStringLiteral("3001")));
        // The chosen row is drawn on grey.
        const QRect row = c.table->visualRect(c.table->model()->index(0, 0));
        QCOMPARE(c.table->viewport()->grab().toImage().pixelColor(row.left() + 4, row.center().y()), QColor(0xd9, 0xd9, 0xd9));

        // From the keyboard: arrows move the choice.
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        // The list is reached with Tab from the pay button, and the arrows move the choice.
        c.pay->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 8 && c.container.focusWidget() != c.table; ++i)
            QTest::keyClick(c.container.focusWidget(), Qt::Key_Tab);
        QCOMPARE(c.container.focusWidget(), c.table);
        QTest::keyClick(c.table, Qt::Key_Down);
        QTest::keyClick(c.table, Qt::Key_Down);
        QCOMPARE(c.screen->nb_code(), std::optional<QString>(QStringLiteral("3003")));
    }

    void payChecks_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("env");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("no token") << "" << "TEST" << QStringList{TokenLine};
        QTest::newRow("test without a choice") << "tok" << "TEST" << QStringList{"3333", "It is TEST environment"};
        QTest::newRow("production without a choice") << "tok" << "PROD" << QStringList{"", "It is PROD environment"};
        QTest::newRow("test in lower case") << "tok" << "test" << QStringList{""};
    }
    void payChecks()
    {
        QFETCH(QString, token);
        QFETCH(QString, env);
        QFETCH(QStringList, log);
        configure(token, env);
        Checkout c;
        LogCapture capture;
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QCOMPARE(capture.lines(), log);
        const bool starts = !token.isEmpty();
        QCOMPARE(c.overlayShown(), starts);
        QCOMPARE(c.container.isTabBarHidden(), starts);
        QCOMPARE(c.root()->findChild<BrowserView *>(QStringLiteral("nb_webView"))->isVisible(), starts);
        for (const char *name : {"netbankingTable", "userMessageLabel", "nb_paySecurelyBtn", "pelbrookLogo", "orderBg"})
            QCOMPARE(c.root()->findChild<QWidget *>(QLatin1String(name))->isHidden(), starts);
        for (const char *name : {"merchNameLabel", "orderIdLabel", "orderAmountLabel", "merchantLogo"})
            QVERIFY(!c.root()->findChild<QWidget *>(QLatin1String(name))->isHidden());
        if (starts) {
            // Shown again (another tab, then back), the screen is back in its input state.
            const int shown = c.container.selectedIndex();
            c.container.setSelectedIndex(0);
            c.container.setSelectedIndex(shown);
            QTRY_VERIFY(c.table->isVisible());
            QVERIFY(!c.container.isTabBarHidden());
        }
    }

    void wholePayment_data()
    {
        QTest::addColumn<QString>("env");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("status");
        QTest::newRow("a chosen bank") << "TEST" << 4 << "3005" << "SUCCESS";
        QTest::newRow("test without a choice") << "TEST" << -1 << "3333" << "SUCCESS";
        QTest::newRow("production without a choice") << "PROD" << -1 << "" << "FAILED";
    }
    void wholePayment()
    {
        QFETCH(QString, env);
        QFETCH(int, row);
        QFETCH(QString, code);
        QFETCH(QString, status);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        sandbox.useAsEndpoints();
        configure(sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00")), env);
        Checkout c;
        auto delegate = std::make_shared<CountingDelegate>();
        c.container.setResultDelegate(delegate);
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&c.container, &PGTabBarViewController::paymentResult);
        if (row >= 0) {
            QTRY_VERIFY_WITH_TIMEOUT(c.table->model()->rowCount() > row, 20000);
            c.tapRow(row);
        }
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);

        QCOMPARE(delegate->results.size(), 1);
        const QString result = c.container.getResult();
        QCOMPARE(delegate->results.first(), result);
        QCOMPARE(results.count(), 1);
        QCOMPARE(results.first().first().toString(), result);
        QCOMPARE(QJsonDocument::fromJson(result.toUtf8()).object().value(QStringLiteral("status")).toString(), status);
        QVERIFY(!c.overlayShown());
        QVERIFY(!c.container.isVisible());
        const QList<QPair<QString, QString>> form = sandbox.lastForm();
        QCOMPARE(formValue(form, QStringLiteral("nb_code")), code);
        QCOMPARE(formValue(form, QStringLiteral("paymentOption")), QStringLiteral("nb"));
        QCOMPARE(form.size(), 13);
    }

    void aHundredThousandBanks()
    {
        SandboxProcess sandbox({QStringLiteral("--bank-count"), QStringLiteral("100000")});
        QVERIFY(sandbox.isRunning());
        sandbox.useAsEndpoints();
        Checkout c;
        QTRY_COMPARE_WITH_TIMEOUT(c.table->model()->rowCount(), 100000, 30000);
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.table->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.table, Qt::Key_End);
        QCOMPARE(c.screen->nb_code(), std::optional<QString>(QStringLiteral("200000")));
        QVERIFY(c.table->viewport()->rect().contains(c.table->visualRect(c.table->model()->index(99999, 0))));
        QVERIFY(static_cast<BankListModel *>(c.table->model())->logosLookedUp() < 50);
    }
};

QTEST_MAIN(NetBankingTest)
#include "tst_netbanking.moc"
