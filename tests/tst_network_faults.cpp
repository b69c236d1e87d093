// The token request and the bank list download against servers that fail in every way a
// network or a server can, and once through the host's proxy: nothing completes or reloads on
// a failure, memory stays bounded whatever the server sends, and the screen works afterwards.

#include "CheckoutHelpers.h"
#include "FaultyServer.h"
#include "TunnelProxy.h"

#include "LoopbackCertificate.h"

#include <QFile>
#include <QTemporaryDir>

using namespace pelbrook;
using Fault = FaultyServer::Fault;

namespace {

const QByteArray TokenBody = R"({"status":"OK","checksum":"sbx_good_token"})";
const QByteArray BankBody = R"([{"code":"3001","bankName":"Bayview Cooperative Bank"},{"code":"3002","bankName":"Harbour Bank"}])";
// Long enough for a stall to be noticed, short enough for the suite.
constexpr int TransferTimeoutMs = 1500;
// What a failed request may leave behind in the process; the servers send up to 256 MiB.
constexpr qint64 MemoryAllowance = 48LL * 1024 * 1024;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory back (256 MiB of it) to catch late uses, so resident
// memory says nothing in that build; the plain build measures it.
constexpr bool MeasuresMemory = false;
#else
constexpr bool MeasuresMemory = true;
#endif

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

// Sends the application's connections through a proxy for as long as it lives.
class ApplicationProxy
{
public:
    explicit ApplicationProxy(const QNetworkProxy &proxy) { QNetworkProxy::setApplicationProxy(proxy); }
    ~ApplicationProxy() { QNetworkProxy::setApplicationProxy(QNetworkProxy()); }
};

} // namespace

class NetworkFaultsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_certificates;
    QMap<QString, FaultyServer::Tls> m_tls;
    QMap<QString, QString> m_fingerprints;

    std::optional<FaultyServer::Tls> tls(const QString &certificate)
    {
        if (certificate.isEmpty())
            return std::nullopt;
        return m_tls.value(certificate == QLatin1String("unpinned") ? QStringLiteral("valid") : certificate);
    }

    // Pins the certificate a row asks to be pinned; "unpinned" serves a certificate while
    // another one is pinned, which must not let it through.
    void pinFor(const QString &certificate)
    {
        Endpoints e = endpoints();
        e.pinnedCertificateSha256 = certificate.isEmpty() ? QString()
            : m_fingerprints.value(certificate == QLatin1String("unpinned") ? QStringLiteral("expired") : certificate);
        setEndpoints(e);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The browser engine starts, and loads its first page, once per process (a checkout gets
        // it ready once on screen); that memory is not a request's.
        {
            BrowserView view;
            QSignalSpy loaded(&view, &BrowserView::loadFinished);
            view.loadHTMLString(QStringLiteral("<html></html>"));
            QVERIFY(loaded.wait(15000));
        }
        HttpClient::setTransferTimeout(TransferTimeoutMs);
        // Loopback only: a proxy from the environment would carry the rows elsewhere.
        for (const char *proxy : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"})
            qunsetenv(proxy);
        const QList<std::pair<QString, sandbox::CertificateRequest>> kinds = {
            {QStringLiteral("valid"), {}},
            {QStringLiteral("expired"), {"IP:127.0.0.1,DNS:localhost", -30L * 24 * 3600, -24L * 3600}},
            {QStringLiteral("wrong host"), {"DNS:gateway.example", -3600, 30L * 24 * 3600}},
        };
        for (const auto &[kind, request] : kinds) {
            QString fingerprint;
            m_tls.insert(kind, loopbackCertificate(m_certificates.path(), &fingerprint,
                                                   QString(kind).replace(QLatin1Char(' '), QLatin1Char('-')).toStdString(), request));
            QVERIFY(!m_tls.value(kind).certificate.isNull() && !m_tls.value(kind).key.isNull());
            m_fingerprints.insert(kind, fingerprint);
        }
    }

    void init() { configureOffline(); }

    void request_data()
    {
        QTest::addColumn<bool>("bankList"); // else the token request
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("certificate"); // empty for plain HTTP
        QTest::addColumn<bool>("completes");
        QTest::addColumn<bool>("proxied"); // through the application's HTTP proxy
        struct Row {
            const char *name;
            Fault fault;
            const char *certificate;
            bool completes;
            bool proxied = false;
        };
        const Row rows[] = {
            {"good answer", Fault::None, "", true},
            {"stall before the reply", Fault::StallBeforeReply, "", false},
            {"stall in the middle", Fault::StallMidReply, "", false},
            {"closed early", Fault::CloseEarly, "", false},
            {"Content-Length too long", Fault::LongerContentLength, "", false},
            {"Content-Length too short", Fault::ShorterContentLength, "", false},
            {"gigantic headers", Fault::GiganticHeaders, "", false},
            {"gigantic body", Fault::GiganticBody, "", false},
            {"gigantic announced body", Fault::GiganticAnnouncedBody, "", false},
            {"HTTP error page", Fault::HttpError, "", false},
            {"not HTTP", Fault::Garbage, "", false},
            {"pinned certificate", Fault::None, "valid", true},
            {"another certificate pinned", Fault::None, "unpinned", false},
            {"expired certificate, pinned", Fault::None, "expired", false},
            {"wrong host certificate, pinned", Fault::None, "wrong host", false},
            {"gigantic body over TLS", Fault::GiganticBody, "valid", false},
            {"through the application's proxy", Fault::None, "valid", true, true},
        };
        for (const bool bankList : {false, true}) {
            for (const Row &r : rows)
                QTest::addRow("%s: %s", bankList ? "bank list" : "token", r.name)
                    << bankList << r.fault << QString::fromLatin1(r.certificate) << r.completes << r.proxied;
        }
    }
    void request()
    {
        QFETCH(bool, bankList);
        QFETCH(Fault, fault);
        QFETCH(QString, certificate);
        QFETCH(bool, completes);
        QFETCH(bool, proxied);
        pinFor(certificate);
        const qint64 before = residentBytes();
        FaultyServer server(fault, bankList ? BankBody : TokenBody, tls(certificate));
        TunnelProxy tunnel;
        std::optional<ApplicationProxy> routed;
        if (proxied)
            routed.emplace(tunnel.proxy());
        LogCapture log;
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        std::optional<cardViewController> card;
        QStringList tokens;
        const auto askToken = [&](const QUrl &url) {
            card->initPayment(url.toString(), QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00"), {}, {},
                              QStringLiteral("INR"), [&](const QString &t) { tokens << t; });
        };
        std::optional<Checkout> checkout;
        int resets = 0;
        if (bankList) {
            useEndpoint(&Endpoints::bankList, server.url(QStringLiteral("/pg/iosbanks.json")));
            checkout.emplace(NetBankingTab);
            connect(checkout->find<QListView>("netbankingTable")->model(), &QAbstractItemModel::modelReset, this, [&] { ++resets; });
        } else {
            card.emplace();
            askToken(server.url(QStringLiteral("/token")));
        }
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 30000);
        QVERIFY(settle());
        // The browser engine's pages after this do not go through the proxy.
        routed.reset();
        const qint64 grown = residentBytes() - before;

        if (proxied)
            QCOMPARE(tunnel.targets(), QByteArrayList{server.url(QString()).authority().toLatin1()});
        QVERIFY2(!MeasuresMemory || grown < MemoryAllowance, qPrintable(QStringLiteral("grew %1 MiB").arg(grown >> 20)));
        // A certificate that cannot be trusted ends the connection before anything is asked.
        if (certificate == QLatin1String("expired") || certificate == QLatin1String("wrong host") || certificate == QLatin1String("unpinned"))
            QCOMPARE(server.requestCount(), 0);

        if (!bankList) {
            QCOMPARE(tokens, completes ? QStringList{QStringLiteral("sbx_good_token")} : QStringList{});
            QCOMPARE(card->paymentToken_config(), completes ? QStringLiteral("sbx_good_token") : QStringLiteral("tok"));
            QVERIFY(!log.lines().join(QLatin1Char('\n')).contains(QLatin1String("sbx_good_token")));
            // The same screen then gets its token from a server that works.
            pinFor(QString());
            FaultyServer good(Fault::None, R"({"checksum":"sbx_second"})");
            askToken(good.url(QStringLiteral("/token")));
            QTRY_COMPARE_WITH_TIMEOUT(card->paymentToken_config(), QStringLiteral("sbx_second"), 10000);
            return;
        }
        auto *table = checkout->find<QListView>("netbankingTable");
        QCOMPARE(resets, completes ? 1 : 0);
        QCOMPARE(table->model()->rowCount(), completes ? 2 : 0);
        // The buyer is never told; the list is simply empty.
        QCOMPARE(log.lines(), QStringList{});
        // The buyer can still pay, with the preset code when the list did not come.
        if (completes)
            clickItem(table, 1);
        auto *screen = checkout->container.findChild<netBankingViewController *>();
        QCOMPARE(screen->nb_code(), std::optional<QString>(completes ? QStringLiteral("3002") : QStringLiteral("3333")));
        QTest::mouseClick(checkout->find<QAbstractButton>("nb_paySecurelyBtn"), Qt::LeftButton);
        QTRY_VERIFY(checkout->container.findChild<BrowserView *>(QStringLiteral("nb_webView"))->isVisible());
    }
};

QTEST_MAIN(NetworkFaultsTest)
#include "tst_network_faults.moc"
