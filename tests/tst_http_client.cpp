// The HTTP client: reading responses within bounds, following redirects, and its completion
// contract.

#include "FaultyServer.h"
#include "ScriptedHttpServer.h"

#include "platform/HttpClient.h"
#include "platform/HttpRequest.h"
#include "platform/HttpResponseParser.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace pelbrook;
using Progress = HttpResponseParser::Progress;

namespace {

const QByteArray Ok = "HTTP/1.1 200 OK\r\n";
const QByteArray Chunked = Ok + "Transfer-Encoding: chunked\r\n\r\n";

// A response whose status line and headers take exactly @p bytes.
QByteArray headOfSize(qsizetype bytes)
{
    const QByteArray start = Ok + "Content-Length: 2\r\nX-Filler: ";
    return start + QByteArray(bytes - start.size() - 4, 'a') + "\r\n\r\nok";
}

// A response with @p lines header lines.
QByteArray headerLines(int lines)
{
    return Ok + QByteArray("X-N: 1\r\n").repeated(lines - 1) + "Content-Length: 2\r\n\r\nok";
}

QByteArray redirect(int status, const QByteArray &location)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n";
}

QString outcome(Progress progress)
{
    return progress == Progress::Complete ? QStringLiteral("complete")
         : progress == Progress::Failed   ? QStringLiteral("failed")
                                          : QStringLiteral("waiting");
}

} // namespace

class HttpClientTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { HttpClient::setTransferTimeout(HttpClient::DefaultTimeoutMs); }

    void parser_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<bool>("closed"); // the connection ends after the bytes
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        const QByteArray hello = Ok + "Content-Length: 5\r\n\r\nhello";
        const QByteArray kilobyte(1000, 'k');
        QTest::newRow("Content-Length") << hello << false << "complete" << 200 << QByteArray("hello");
        QTest::newRow("bytes past Content-Length ignored") << hello + " and more" << false << "complete" << 200 << QByteArray("hello");
        QTest::newRow("Content-Length cut short") << Ok + "Content-Length: 9\r\n\r\nhello" << true << "failed" << 0 << QByteArray();
        QTest::newRow("Content-Length not a number") << Ok + "Content-Length: 5x\r\n\r\nhello" << false << "failed" << 0 << QByteArray();
        QTest::newRow("Content-Length negative") << Ok + "Content-Length: -5\r\n\r\nhello" << false << "failed" << 0 << QByteArray();
        QTest::newRow("same Content-Length twice") << Ok + "Content-Length: 5\r\nContent-Length: 5, 5\r\n\r\nhello" << false << "complete" << 200 << QByteArray("hello");
        QTest::newRow("differing Content-Lengths") << Ok + "Content-Length: 5\r\nContent-Length: 4\r\n\r\nhello" << false << "failed" << 0 << QByteArray();
        QTest::newRow("body at the maximum") << Ok + "Content-Length: 1000\r\n\r\n" + kilobyte << false << "complete" << 200 << kilobyte;
        QTest::newRow("announced body over the maximum") << Ok + "Content-Length: 1001\r\n\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("close-delimited body") << Ok + "\r\nhello" << true << "complete" << 200 << QByteArray("hello");
        QTest::newRow("close-delimited, still open") << Ok + "\r\nhello" << false << "waiting" << 200 << QByteArray();
        QTest::newRow("close-delimited over the maximum") << Ok + "\r\n" + kilobyte + "k" << false << "failed" << 0 << QByteArray();
        QTest::newRow("chunked") << Chunked + "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n" << false << "complete" << 200 << QByteArray("hello world");
        QTest::newRow("chunk extensions and trailers") << Chunked + "5;a=b\r\nhello\r\n0;last\r\nX-Sum: 1\r\nX-More: 2\r\n\r\nnext" << false << "complete" << 200 << QByteArray("hello");
        QTest::newRow("upper-case hex, bare line feeds") << Ok + "Transfer-Encoding: Chunked\n\n00A\n0123456789\n0\n\n" << false << "complete" << 200 << QByteArray("0123456789");
        QTest::newRow("chunked wins over Content-Length") << Ok + "Content-Length: 2\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n" << false << "complete" << 200 << QByteArray("hello");
        QTest::newRow("chunk size not hex") << Chunked + "5g\r\nhello\r\n0\r\n\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("chunk size missing") << Chunked + ";a\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("chunk-size line too long") << Chunked + "5;" + QByteArray(1100, 'x') << false << "failed" << 0 << QByteArray();
        QTest::newRow("chunk longer than its size") << Chunked + "3\r\nhello\r\n0\r\n\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("chunks over the maximum") << Chunked + "258\r\n" + kilobyte.left(600) + "\r\n258\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("chunk size past 64 bits") << Chunked + "fffffffffffffffffffff\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("closed before the last chunk") << Chunked + "5\r\nhello\r\n" << true << "failed" << 0 << QByteArray();
        QTest::newRow("another transfer coding") << Ok + "Transfer-Encoding: gzip, chunked\r\n\r\n" << false << "failed" << 0 << QByteArray();
        QTest::newRow("100 Continue, 103, then 200") << "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: </a>\r\n\r\n" + hello << false << "complete" << 200 << QByteArray("hello");
        QTest::newRow("101 Switching Protocols") << QByteArray("HTTP/1.1 101 Switching\r\nUpgrade: x\r\n\r\n") << false << "failed" << 0 << QByteArray();
        QTest::newRow("204 has no body") << QByteArray("HTTP/1.1 204 No Content\r\n\r\n") << false << "complete" << 204 << QByteArray();
        QTest::newRow("error status with a body") << QByteArray("HTTP/1.0 503 Busy\r\nContent-Length: 4\r\n\r\nbusy") << false << "complete" << 503 << QByteArray("busy");
        QTest::newRow("folded header") << Ok + "Content-Length:\r\n 2\r\n\r\nokay" << false << "complete" << 200 << QByteArray("ok");
        QTest::newRow("head at the limit") << headOfSize(HttpResponseParser::MaximumHeadBytes) << false << "complete" << 200 << QByteArray("ok");
        QTest::newRow("head just over the limit") << headOfSize(HttpResponseParser::MaximumHeadBytes + 1) << false << "failed" << 0 << QByteArray();
        QTest::newRow("header lines at the limit") << headerLines(HttpResponseParser::MaximumHeaderLines) << false << "complete" << 200 << QByteArray("ok");
        QTest::newRow("one header line too many") << headerLines(HttpResponseParser::MaximumHeaderLines + 1) << false << "failed" << 0 << QByteArray();
        QTest::newRow("unended head at the limit") << (Ok + "X-Filler: ").leftJustified(HttpResponseParser::MaximumHeadBytes, 'a') << false << "failed" << 0 << QByteArray();
        QTest::newRow("endless header line") << Ok + "X-Filler: " + QByteArray(70000, 'a') << false << "failed" << 0 << QByteArray();
        QTest::newRow("endless interim answers") << QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(3000) << false << "failed" << 0 << QByteArray();
        QTest::newRow("not HTTP") << QByteArray("\x16\x03\x01 not HTTP at all\r\n\r\n") << true << "failed" << 0 << QByteArray();
        QTest::newRow("HTTP/2 status line") << QByteArray("HTTP/2 200\r\n\r\n") << false << "failed" << 0 << QByteArray();
        QTest::newRow("status of two digits") << QByteArray("HTTP/1.1 20 OK\r\n\r\n") << false << "failed" << 0 << QByteArray();
        QTest::newRow("header without a colon") << Ok + "Content-Length 5\r\n\r\nhello" << false << "failed" << 0 << QByteArray();
        QTest::newRow("space in a header name") << Ok + "Content Length: 5\r\n\r\nhello" << false << "failed" << 0 << QByteArray();
        QTest::newRow("closed within the head") << Ok + "Content-Length: 5\r\n" << true << "failed" << 0 << QByteArray();
    }
    void parser()
    {
        QFETCH(QByteArray, response);
        QFETCH(bool, closed);
        QFETCH(QString, expected);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        // Whole, and a byte at a time: where the reads split the bytes must not matter.
        for (const qsizetype step : {response.size(), qsizetype(1)}) {
            HttpResponseParser parser(1000);
            for (qsizetype i = 0; i < response.size() && parser.progress() == Progress::Incomplete; i += step)
                parser.feed(QByteArrayView(response).sliced(i, qMin(step, response.size() - i)));
            if (closed)
                parser.finish();
            QCOMPARE(outcome(parser.progress()), expected);
            if (expected != QLatin1String("failed"))
                QCOMPARE(parser.status(), status);
            if (expected != QLatin1String("waiting"))
                QCOMPARE(parser.takeBody(), body);
        }
    }

    void redirects_data()
    {
        QTest::addColumn<QByteArray>("verb");
        QTest::addColumn<QByteArrayList>("answers"); // by request; the last one repeats
        QTest::addColumn<QByteArrayList>("requests"); // as the server saw them: verb, path, body
        QTest::addColumn<bool>("answered");
        const QByteArray done = ScriptedHttpServer::response(200, "text/plain", "done");
        QTest::newRow("relative Location") << QByteArray("GET") << QByteArrayList{redirect(302, "next?x=a%20b"), done}
                                           << QByteArrayList{"GET /dir/start ", "GET /dir/next?x=a%20b "} << true;
        QTest::newRow("303 turns a POST into a GET") << QByteArray("POST") << QByteArrayList{redirect(303, "/next"), done}
                                                     << QByteArrayList{"POST /dir/start x", "GET /next "} << true;
        QTest::newRow("302 turns a POST into a GET") << QByteArray("POST") << QByteArrayList{redirect(302, "/next"), done}
                                                     << QByteArrayList{"POST /dir/start x", "GET /next "} << true;
        QTest::newRow("307 keeps the POST and its body") << QByteArray("POST") << QByteArrayList{redirect(307, "/next"), done}
                                                         << QByteArrayList{"POST /dir/start x", "POST /next x"} << true;
        QTest::newRow("308 keeps the verb") << QByteArray("PUT") << QByteArrayList{redirect(308, "/next"), done}
                                            << QByteArrayList{"PUT /dir/start x", "PUT /next x"} << true;
        const QByteArray again = redirect(301, "/again");
        QTest::newRow("five redirects are followed") << QByteArray("GET") << QByteArrayList{again, again, again, again, again, done}
                                                     << (QByteArrayList{"GET /dir/start "} + QByteArrayList(5, "GET /again ")) << true;
        QTest::newRow("a loop stops after five") << QByteArray("GET") << QByteArrayList{again}
                                                 << (QByteArrayList{"GET /dir/start "} + QByteArrayList(5, "GET /again ")) << false;
        QTest::newRow("3xx without Location is an answer") << QByteArray("GET") << QByteArrayList{ScriptedHttpServer::response(302, "text/plain", "done")}
                                                           << QByteArrayList{"GET /dir/start "} << true;
        QTest::newRow("Location not http") << QByteArray("GET") << QByteArrayList{redirect(302, "ftp://127.0.0.1/x")}
                                           << QByteArrayList{"GET /dir/start "} << false;
    }
    void redirects()
    {
        QFETCH(QByteArray, verb);
        QFETCH(QByteArrayList, answers);
        QFETCH(QByteArrayList, requests);
        QFETCH(bool, answered);
        int served = 0;
        ScriptedHttpServer server([&](const QByteArray &, const QByteArray &) { return answers.value(served++, answers.last()); });
        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        std::optional<QByteArray> reply;
        QObject context;
        HttpClient::send(verb, QNetworkRequest(server.url(QStringLiteral("/dir/start"))), verb == "GET" ? QByteArray() : "x", &context,
                         [&](std::optional<QByteArray> body) { reply = body; });
        QVERIFY(finished.wait(10000));
        QByteArrayList seen;
        for (qsizetype i = 0; i < server.heads().size(); ++i)
            seen << server.heads().at(i).split('\n').first().split(' ').mid(0, 2).join(' ') + ' ' + server.bodies().at(i);
        QCOMPARE(seen, requests);
        QCOMPARE(reply, answered ? std::optional<QByteArray>("done") : std::nullopt);
    }

    // What the client writes, and where a redirect may take it.
    void requestRules_data()
    {
        QTest::addColumn<QByteArray>("verb");
        QTest::addColumn<QUrl>("from");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QByteArray>("message"); // of the redirected request; empty when refused
        const QByteArray json = "Content-Type: application/json\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}";
        const QUrl https(QStringLiteral("https://pay.example/t?a=1"));
        QTest::newRow("https to http refused") << QByteArray("POST") << https << 307 << QByteArray("http://pay.example/t") << QByteArray();
        QTest::newRow("http to https followed") << QByteArray("POST") << QUrl(QStringLiteral("http://pay.example/t")) << 308 << QByteArray("https://pay.example/u")
                                                << "POST /u HTTP/1.1\r\nHost: pay.example\r\n" + json;
        QTest::newRow("not http refused") << QByteArray("GET") << https << 302 << QByteArray("file:///etc/passwd") << QByteArray();
        QTest::newRow("path and query encoded") << QByteArray("POST") << https << 307 << QByteArray("/v w?b=c d")
                                                   << "POST /v%20w?b=c%20d HTTP/1.1\r\nHost: pay.example\r\nAuthorization: x\r\n" + json;
        QTest::newRow("another origin keeps no credentials") << QByteArray("POST") << https << 307 << QByteArray("https://[::1]:8443/")
                                                             << "POST / HTTP/1.1\r\nHost: [::1]:8443\r\n" + json;
        QTest::newRow("303 drops the body and its headers") << QByteArray("POST") << https << 303 << QByteArray("https://pay.example:443/r")
                                                            << QByteArray("GET /r HTTP/1.1\r\nHost: pay.example\r\nAuthorization: x\r\nConnection: close\r\n\r\n");
    }
    void requestRules()
    {
        QFETCH(QByteArray, verb);
        QFETCH(QUrl, from);
        QFETCH(int, status);
        QFETCH(QByteArray, location);
        QFETCH(QByteArray, message);
        // The caller's own framing headers never reach the wire.
        const HttpRequest request{verb, from, {{"Authorization", "x"}, {"Content-Type", "application/json"}, {"Accept-Encoding", "gzip"}, {"Content-Length", "9"}}, "{}"};
        const std::optional<HttpRequest> next = request.redirected(status, location);
        QCOMPARE(next ? next->message() : QByteArray(), message);
    }

    void completion_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QByteArray>("header"); // one line added to the request's headers
        QTest::addColumn<bool>("answered");
        QTest::newRow("answered") << "good" << QByteArray() << true;
        QTest::newRow("refused") << "refuse" << QByteArray() << false;
        QTest::newRow("endless header, well before the time-out") << "gigantic headers" << QByteArray() << false;
        QTest::newRow("silent server, time-out") << "silent" << QByteArray() << false;
        QTest::newRow("line break in a header") << "good" << QByteArray("a\r\nX-Injected: 1") << false;
        QTest::newRow("not an http address") << "ftp" << QByteArray() << false;
    }
    void completion()
    {
        QFETCH(QString, server);
        QFETCH(QByteArray, header);
        QFETCH(bool, answered);
        const QByteArray body = R"({"checksum":"t"})";
        const FaultyServer::Fault fault = server == QLatin1String("refuse")             ? FaultyServer::Fault::Refuse
                                        : server == QLatin1String("gigantic headers") ? FaultyServer::Fault::GiganticHeaders
                                        : server == QLatin1String("silent")           ? FaultyServer::Fault::StallBeforeReply
                                                                                      : FaultyServer::Fault::None;
        FaultyServer faulty(fault, body);
        QNetworkRequest request(server == QLatin1String("ftp") ? QUrl(QStringLiteral("ftp://127.0.0.1/t")) : faulty.url(QStringLiteral("/t")));
        if (!header.isEmpty())
            request.setRawHeader("X-Note", header);
        if (fault == FaultyServer::Fault::StallBeforeReply)
            HttpClient::setTransferTimeout(300);

        QSignalSpy finished(HttpClient::events(), &HttpClientEvents::requestFinished);
        QList<std::optional<QByteArray>> replies;
        // The completion may destroy its context.
        auto *context = new QObject;
        QElapsedTimer timer;
        timer.start();
        HttpClient::send("POST", request, "{}", context, [&](std::optional<QByteArray> reply) {
            replies << reply;
            delete context;
        });
        QVERIFY(replies.isEmpty());
        QVERIFY(finished.wait(10000));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(replies, QList<std::optional<QByteArray>>{answered ? std::optional(body) : std::nullopt});
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        // Nothing of the request stays behind.
        QCOMPARE(HttpClient::events()->children().size(), 0);
        // A request that could break the message is not sent at all.
        if (!header.isEmpty())
            QCOMPARE(faulty.requestCount(), 0);
    }
};

QTEST_MAIN(HttpClientTest)
#include "tst_http_client.moc"
