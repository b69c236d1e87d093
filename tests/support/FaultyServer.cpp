#include "FaultyServer.h"

#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>

namespace {

QByteArray head(int status, const QByteArray &contentType, std::optional<qint64> length)
{
    QByteArray h = "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + contentType + "\r\n";
    if (length)
        h += "Content-Length: " + QByteArray::number(*length) + "\r\n";
    return h + "Connection: close\r\n\r\n";
}

} // namespace

FaultyServer::FaultyServer(Fault fault, QByteArray goodBody, std::optional<Tls> tls, int maximumRequests, int lifetimeMs)
    : m_fault(fault)
    , m_good(std::move(goodBody))
    , m_tls(tls.has_value())
    , m_maximumRequests(maximumRequests)
{
    if (tls) {
        auto *server = new QSslServer;
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(tls->certificate);
        configuration.setPrivateKey(tls->key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(configuration);
        m_server.reset(server);
    } else {
        m_server = std::make_unique<QTcpServer>();
    }
    m_server->listen(QHostAddress::LocalHost, 0);
    m_port = m_server->serverPort();
    if (fault == Fault::Refuse) {
        // The port was just free, and nothing listens on it now.
        m_server->close();
        return;
    }
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this]() {
        while (QTcpSocket *socket = m_server->nextPendingConnection())
            accept(socket);
    });
    m_lifetime.setSingleShot(true);
    connect(&m_lifetime, &QTimer::timeout, this, [this]() {
        m_server->close();
        for (const QPointer<QTcpSocket> &socket : std::as_const(m_sockets)) {
            if (socket)
                socket->abort();
        }
    });
    m_lifetime.start(lifetimeMs);
}

FaultyServer::~FaultyServer()
{
    for (const QPointer<QTcpSocket> &socket : std::as_const(m_sockets))
        delete socket.data();
}

QUrl FaultyServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(m_port).arg(path));
}

void FaultyServer::accept(QTcpSocket *socket)
{
    socket->setParent(this);
    m_sockets.append(socket);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    if (m_requests >= m_maximumRequests) {
        socket->abort();
        return;
    }
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer]() {
        *buffer += socket->readAll();
        const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
        if (headerEnd < 0 || buffer->size() > 1024 * 1024)
            return;
        qsizetype length = 0;
        for (const QByteArray &line : buffer->left(headerEnd).split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        }
        if (buffer->size() < headerEnd + 4 + length)
            return;
        buffer->clear();
        ++m_requests;
        answer(socket);
    });
}

void FaultyServer::flood(QTcpSocket *socket, const QByteArray &start, const QByteArray &chunk)
{
    socket->write(start);
    // Written as the client takes it, so the server's own memory stays small. Over TLS what the
    // client has not taken waits encrypted, in a buffer bytesToWrite() does not count.
    auto written = std::make_shared<qint64>(0);
    auto *tls = qobject_cast<QSslSocket *>(socket);
    auto more = [socket, tls, chunk, written]() {
        const auto unsent = [&] { return socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0); };
        while (unsent() < 4 * chunk.size() && *written < GiganticBytes) {
            socket->write(chunk);
            *written += chunk.size();
        }
        if (*written >= GiganticBytes && unsent() == 0)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, more);
    if (tls)
        connect(tls, &QSslSocket::encryptedBytesWritten, socket, more);
    more();
}

void FaultyServer::answer(QTcpSocket *socket)
{
    const QByteArray good = head(200, "application/json", m_good.size()) + m_good;
    switch (m_fault) {
    case Fault::None:
        socket->write(good);
        socket->disconnectFromHost();
        break;
    case Fault::Refuse:
    case Fault::StallBeforeReply:
        break;
    case Fault::StallMidReply:
        socket->write(head(200, "application/json", m_good.size()) + m_good.left(m_good.size() / 2));
        break;
    case Fault::Drip:
    case Fault::SlowDrip: {
        auto position = std::make_shared<qsizetype>(0);
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [socket, timer, good, position]() {
            socket->write(good.mid((*position)++, 1));
            if (*position >= good.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(m_fault == Fault::SlowDrip ? 100 : 1);
        break;
    }
    case Fault::CloseEarly:
        socket->write(head(200, "application/json", m_good.size()) + m_good.left(4));
        socket->disconnectFromHost();
        break;
    case Fault::LongerContentLength:
        socket->write(head(200, "application/json", m_good.size() + 100) + m_good);
        socket->disconnectFromHost();
        break;
    case Fault::ShorterContentLength:
        socket->write(head(200, "application/json", m_good.size() / 2) + m_good);
        break;
    case Fault::GiganticHeaders:
        flood(socket, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nX-Filler: ", QByteArray(64 * 1024, 'a'));
        break;
    case Fault::GiganticBody:
        flood(socket, head(200, "application/json", std::nullopt) + "[", QByteArray(64 * 1024, ' '));
        break;
    case Fault::GiganticAnnouncedBody:
        flood(socket, head(200, "application/json", GiganticBytes) + "[", QByteArray(64 * 1024, ' '));
        break;
    case Fault::HttpError: {
        const QByteArray page = "<html><body><h1>Service Unavailable</h1></body></html>";
        socket->write(head(503, "text/html", page.size()) + page);
        socket->disconnectFromHost();
        break;
    }
    case Fault::Garbage:
        socket->write(QByteArray("\x16\x03\x01 not HTTP at all\r\n\r\n", 24));
        socket->disconnectFromHost();
        break;
    }
}
