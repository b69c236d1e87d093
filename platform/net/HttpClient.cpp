#include "platform/net/HttpClient.h"

#include "platform/net/CurlMulti.h"
#include "platform/net/CurlRequest.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace pelbrook {

namespace {

int transferTimeoutMs = HttpClient::DefaultTimeoutMs;

// One request, from send() to its completion. It ends in exactly one call of finish(), which
// stops the transfer and hands the answer over on a later turn of the event loop, so the
// completion never runs inside send() or inside libcurl.
class Transfer : public QObject
{
public:
    Transfer(QObject *context, HttpClient::Completion done)
        : QObject(HttpClient::events())
        , m_context(context)
        , m_hasContext(context != nullptr)
        , m_done(std::move(done))
    {
        // Nobody is left to read the answer once the context is gone, and its connection
        // should not outlive it.
        if (context)
            m_contextGone = connect(context, &QObject::destroyed, this, [this]() { finish(std::nullopt); });
    }

    ~Transfer() override { stop(); }

    void start(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body, qint64 maximumBody,
               int deadlineMs)
    {
        // First: it initialises libcurl, once, before any handle is made.
        CurlMulti *multi = CurlMulti::instance();
        m_request = std::make_unique<CurlRequest>(verb, request, body, maximumBody, transferTimeoutMs, deadlineMs);
        if (!m_request->handle()
            || !multi->add(m_request->handle(), [this](CURLcode result) { finish(m_request->takeAnswer(result)); })) {
            finish(std::nullopt);
            return;
        }
        m_multi = multi;
    }

private:
    // Removed from libcurl before it is freed: the connection closes at once if still open.
    void stop()
    {
        if (m_request && m_multi)
            m_multi->remove(m_request->handle());
        m_request.reset();
    }

    void finish(std::optional<QByteArray> answer)
    {
        if (m_finished)
            return;
        m_finished = true;
        stop();
        // Only ever set once, from nothing: made in place rather than assigned, an assignment
        // g++ 12 cannot see through at -O3 (it warns of a disengaged value's bytes).
        if (answer)
            m_answer.emplace(std::move(*answer));
        QMetaObject::invokeMethod(this, &Transfer::deliver, Qt::QueuedConnection);
    }

    void deliver()
    {
        // From here the context may go, even inside the completion, without concern to us.
        disconnect(m_contextGone);
        if (!m_hasContext || m_context) {
            const HttpClient::Completion done = std::move(m_done);
            if (done)
                done(std::move(m_answer));
        }
        Q_EMIT HttpClient::events()->requestFinished();
        deleteLater();
    }

    QPointer<QObject> m_context;
    bool m_hasContext;
    HttpClient::Completion m_done;
    QMetaObject::Connection m_contextGone;
    std::unique_ptr<CurlRequest> m_request;
    QPointer<CurlMulti> m_multi;
    bool m_finished = false;
    std::optional<QByteArray> m_answer;
};

} // namespace

void HttpClient::send(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body,
                      QObject *context, Completion done, qint64 maximumBody, int deadlineMs)
{
    auto *transfer = new Transfer(context, std::move(done));
    transfer->start(verb, request, body, maximumBody, deadlineMs);
}

void HttpClient::setTransferTimeout(int milliseconds)
{
    transferTimeoutMs = milliseconds;
}

HttpClientEvents *HttpClient::events()
{
    // Parented to the application, so that it and the requests still running go with it.
    static QPointer<HttpClientEvents> instance;
    if (!instance)
        instance = new HttpClientEvents(QCoreApplication::instance());
    return instance;
}

} // namespace pelbrook
