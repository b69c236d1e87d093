#include "platform/HttpClient.h"

#include "platform/HttpRequest.h"
#include "platform/HttpResponseParser.h"
#include "platform/TrustPolicy.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

namespace pelbrook {

namespace {

constexpr int MaximumRedirects = 5;

int transferTimeoutMs = HttpClient::DefaultTimeoutMs;

// One request and the redirects it leads to, each on a connection of its own. It ends in
// exactly one call of finish(), which closes the connection and hands the answer over on a
// later turn of the event loop, so the completion never runs inside send() or inside a
// socket's signal.
class Transfer : public QObject
{
public:
    Transfer(HttpRequest request, QObject *context, HttpClient::Completion done, qint64 maximumBody)
        : QObject(HttpClient::events())
        , m_request(std::move(request))
        , m_context(context)
        , m_hasContext(context != nullptr)
        , m_done(std::move(done))
        , m_maximumBody(maximumBody)
        , m_timeoutMs(transferTimeoutMs)
    {
        m_idle.setSingleShot(true);
        connect(&m_idle, &QTimer::timeout, this, [this]() { finish(std::nullopt); });
        // Nobody is left to read the answer once the context is gone, and its connection
        // should not outlive it.
        if (context)
            m_contextGone = connect(context, &QObject::destroyed, this, [this]() { finish(std::nullopt); });
    }

    void start()
    {
        if (m_request.isSendable())
            open();
        else
            finish(std::nullopt);
    }

private:
    void open()
    {
        m_parser.emplace(m_maximumBody, m_request.verb == "HEAD");
        // The host as it is looked up and as the certificate must name it.
        const QString host = m_request.url.host(QUrl::FullyEncoded);
        if (m_request.isHttps()) {
            auto *socket = new QSslSocket(this);
            connect(socket, &QSslSocket::sslErrors, this, [socket](const QList<QSslError> &errors) {
                if (TrustPolicy::mayOverride(errors, socket->peerCertificateChain()))
                    socket->ignoreSslErrors(errors);
            });
            // Nothing is written before the server has proved who it is.
            connect(socket, &QSslSocket::encrypted, this, &Transfer::writeRequest);
            connect(socket, &QSslSocket::encryptedBytesWritten, this, &Transfer::progressed);
            m_socket = socket;
        } else {
            m_socket = new QTcpSocket(this);
        }
        connect(m_socket, &QAbstractSocket::connected, this, [this]() {
            progressed();
            if (!m_request.isHttps())
                writeRequest();
        });
        connect(m_socket, &QAbstractSocket::bytesWritten, this, &Transfer::progressed);
        connect(m_socket, &QAbstractSocket::readyRead, this, &Transfer::read);
        connect(m_socket, &QAbstractSocket::disconnected, this, &Transfer::ended);
        connect(m_socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            if (error == QAbstractSocket::RemoteHostClosedError)
                ended();
            else
                finish(std::nullopt);
        });
        progressed();
        if (auto *socket = qobject_cast<QSslSocket *>(m_socket))
            socket->connectToHostEncrypted(host, m_request.port());
        else
            m_socket->connectToHost(host, m_request.port());
    }

    void progressed()
    {
        if (m_timeoutMs > 0)
            m_idle.start(m_timeoutMs);
    }

    void writeRequest()
    {
        progressed();
        m_socket->write(m_request.message());
    }

    void read()
    {
        progressed();
        m_parser->feed(m_socket->readAll());
        decide();
    }

    // The server closed the connection: what it sent is all there is.
    void ended()
    {
        if (m_finished)
            return;
        m_parser->feed(m_socket->readAll());
        m_parser->finish();
        decide();
    }

    void decide()
    {
        if (m_parser->progress() == HttpResponseParser::Progress::Failed) {
            finish(std::nullopt);
            return;
        }
        // A redirect is followed as soon as its head is read; its body is of no interest.
        const int status = m_parser->status();
        if (HttpRequest::isRedirect(status)) {
            const QByteArray location = m_parser->header("location");
            if (!location.isEmpty()) {
                follow(status, location);
                return;
            }
        }
        if (m_parser->progress() == HttpResponseParser::Progress::Complete)
            finish(m_parser->takeBody());
    }

    void follow(int status, const QByteArray &location)
    {
        const std::optional<HttpRequest> next = m_request.redirected(status, location);
        if (!next || m_redirects == MaximumRedirects) {
            finish(std::nullopt);
            return;
        }
        ++m_redirects;
        closeConnection();
        m_request = *next;
        open();
    }

    void closeConnection()
    {
        if (!m_socket)
            return;
        // Unhooked first: aborting emits signals, and this is often inside one of the socket's.
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }

    void finish(std::optional<QByteArray> answer)
    {
        if (m_finished)
            return;
        m_finished = true;
        m_idle.stop();
        closeConnection();
        m_parser.reset();
        m_answer = std::move(answer);
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

    HttpRequest m_request;
    QPointer<QObject> m_context;
    bool m_hasContext;
    HttpClient::Completion m_done;
    qint64 m_maximumBody;
    int m_timeoutMs;
    QMetaObject::Connection m_contextGone;
    QTimer m_idle;
    QTcpSocket *m_socket = nullptr;
    std::optional<HttpResponseParser> m_parser;
    int m_redirects = 0;
    bool m_finished = false;
    std::optional<QByteArray> m_answer;
};

} // namespace

void HttpClient::send(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body,
                      QObject *context, Completion done, qint64 maximumBody)
{
    auto *transfer = new Transfer(HttpRequest::from(verb, request, body), context, std::move(done), maximumBody);
    transfer->start();
}

void HttpClient::setTransferTimeout(int milliseconds)
{
    transferTimeoutMs = milliseconds;
}

int HttpClient::transferTimeout()
{
    return transferTimeoutMs;
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
