// The net banking screen: reading the bank list document, downloading it from servers that
// behave and servers that do not, and the list through the real widgets.

#include "CheckoutHelpers.h"

#include "netbanking/BankListModel.h"
#include "netbanking/BankListParser.h"

#include <QSemaphore>
#include <QThreadPool>

using namespace pelbrook;

namespace {

constexpr qint64 Bound = 8 * 1024 * 1024;

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

// The shared checkout on the net banking tab, with handles on its list.
struct BankCheckout : Checkout {
    BankCheckout() : Checkout(NetBankingTab) {}
    void tapRow(int row)
    {
        const QModelIndex index = table->model()->index(row, 0);
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
    }

    netBankingViewController *banks = static_cast<netBankingViewController *>(screen);
    QListView *table = find<QListView>("netbankingTable");
    QAbstractButton *pay = find<QAbstractButton>("nb_paySecurelyBtn");
};

} // namespace

class NetBankingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { configureOffline(); }

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
        QTest::newRow("truncated") << QByteArray(R"([{"code":"1","bankName":"A"},{"code":)") << false << QStringList{};
        QTest::newRow("not UTF-8") << QByteArray("[{\"code\":\"1\",\"bankName\":\"\xff\xfe\"}]") << false << QStringList{};
        QTest::newRow("deeply nested") << QByteArray(100000, '[') + QByteArray(100000, ']') << false << QStringList{};
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
    }
    void download()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, reloads);
        QFETCH(int, rows);
        ScriptedHttpServer server([&](const QByteArray &, const QByteArray &) { return answer; });
        useEndpoint(&Endpoints::bankList, server.url(QStringLiteral("/pg/iosbanks.json")));
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        LogCapture log;
        BankCheckout c;
        QSignalSpy reset(c.table->model(), &QAbstractItemModel::modelReset);
        QVERIFY(finished.wait(20000));
        QVERIFY(settle());
        // One request, even when the connection is dropped without an answer.
        QCOMPARE(server.paths(), QList<QByteArray>{"/pg/iosbanks.json"});
        QCOMPARE(reset.count(), reloads);
        QCOMPARE(c.table->model()->rowCount(), rows);
        QCOMPARE(c.banks->list().size(), rows);
        // The buyer is never told; the list is simply empty.
        QCOMPARE(log.lines(), QStringList{});
    }

    // The list is read on the library's own thread: a host's pool, busy to its last thread,
    // does not hold it up. (Nothing is painted meanwhile: Qt's painting would wait for it too.)
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
        useEndpoint(&Endpoints::bankList, server.url(QStringLiteral("/pg/iosbanks.json")));
        netBankingViewController screen;
        screen.view();
        QTRY_COMPARE_WITH_TIMEOUT(screen.list().size(), 1, 20000);
    }

    // A server that never answers leaves the list empty, and the buyer can still pay with the
    // preset code; the request goes with the screen.
    void silentServer()
    {
        ScriptedHttpServer holding([](const QByteArray &, const QByteArray &) { return QByteArray(); });
        useEndpoint(&Endpoints::bankList, holding.url(QStringLiteral("/pg/iosbanks.json")));
        {
            BankCheckout c;
            QTRY_COMPARE(holding.requestCount(), 1);
            QCOMPARE(c.table->model()->rowCount(), 0);
            QVERIFY(c.pay->isVisible());
            QCOMPARE(c.banks->nb_code(), std::optional<QString>(QStringLiteral("3333")));
        }
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
        useEndpoint(&Endpoints::bankList, server.url(QStringLiteral("/pg/iosbanks.json")));
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        auto c = std::make_unique<BankCheckout>();
        QPointer<QAbstractItemModel> model = c->table->model();
        QVERIFY(finished.wait(20000));
        c.reset();
        QVERIFY(!model);
        QVERIFY(settle());
    }

    // --- the list through the widgets, against the sandbox ---

    void listFromTheSandbox()
    {
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        BankCheckout c;
        QTRY_VERIFY_WITH_TIMEOUT(c.table->model()->rowCount() > 0, 20000);
        // The sample list's thirty banks, in document order; its malformed elements are skipped.
        const QList<MyStruct> banks = c.banks->list();
        QCOMPARE(banks.size(), 30);
        QCOMPARE(banks.first(), MyStruct(QStringLiteral("Amberline Bank"), QStringLiteral("3001")));
        QCOMPARE(banks.at(1).code, QStringLiteral("3002"));
        QCOMPARE(c.table->model()->index(0, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Amberline Bank"));
        QVERIFY(!c.table->model()->index(0, 0).data(Qt::DecorationRole).value<QImage>().isNull());

        // Logos are looked up for the rows drawn, not for the whole list.
        const qsizetype looked = static_cast<BankListModel *>(c.table->model())->logosLookedUp();
        QVERIFY2(looked > 0 && looked < 30, qPrintable(QString::number(looked)));

        c.tapRow(2);
        c.tapRow(0);
        QCOMPARE(c.banks->nb_code(), std::optional<QString>(QStringLiteral("3001")));
        // A control-click does not unmark the chosen bank.
        QTest::mouseClick(c.table->viewport(), Qt::LeftButton, Qt::ControlModifier, c.table->visualRect(c.table->model()->index(0, 0)).center());
        QVERIFY(c.table->selectionModel()->isRowSelected(0));
        QCOMPARE(c.banks->nb_code(), std::optional<QString>(QStringLiteral("3001")));
        // The chosen row is drawn on grey, inside the row's margins, not out to the list's edges.
        const QRect row = c.table->visualRect(c.table->model()->index(0, 0));
        const QImage drawn = c.table->viewport()->grab().toImage();
        QCOMPARE(drawn.pixelColor(row.left() + 12, row.center().y()), QColor(0xd9, 0xd9, 0xd9));
        QCOMPARE(drawn.pixelColor(row.left() + 2, row.center().y()), QColor(Qt::white));
        QCOMPARE(drawn.pixelColor(row.right() - 2, row.center().y()), QColor(Qt::white));
    }

    void aHundredThousandBanks()
    {
        SandboxProcess sandbox({QStringLiteral("--bank-count"), QStringLiteral("100000")});
        QVERIFY(sandbox.isRunning());
        BankCheckout c;
        QTRY_COMPARE_WITH_TIMEOUT(c.table->model()->rowCount(), 100000, 30000);
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.table->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.table, Qt::Key_End);
        QCOMPARE(c.banks->nb_code(), std::optional<QString>(QStringLiteral("200000")));
        QVERIFY(c.table->viewport()->rect().contains(c.table->visualRect(c.table->model()->index(99999, 0))));
        QVERIFY(static_cast<BankListModel *>(c.table->model())->logosLookedUp() < 50);
    }
};

QTEST_MAIN(NetBankingTest)
#include "tst_netbanking.moc"
