#include "ScriptedHttpServer.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <QUrl>

ScriptedHttpServer::ScriptedHttpServer(Script script, const std::optional<Tls> &tls)
    : m_script(std::move(script))
    , m_tls(tls)
{
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this]() {
        while (QTcpSocket *socket = nextPendingConnection()) {
            m_sockets.append(socket);
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer]() {
                *buffer += socket->readAll();
                const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
                if (headerEnd < 0)
                    return;
                const QByteArray head = buffer->left(headerEnd);
                qsizetype length = 0;
                for (const QByteArray &line : head.split('\n')) {
                    if (line.toLower().startsWith("content-length:"))
                        length = line.mid(15).trimmed().toLongLong();
                }
                if (buffer->size() < headerEnd + 4 + length)
                    return;
                ++m_requests;
                const QByteArray path = head.split(' ').value(1);
                const QByteArray body = buffer->mid(headerEnd + 4, length);
                buffer->clear();
                m_paths.append(path);
                m_bodies.append(body);
                m_heads.append(head);
                const QByteArray answer = m_script(path, body);
                if (answer.isNull())
                    return;
                socket->write(answer);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void ScriptedHttpServer::incomingConnection(qintptr descriptor)
{
    if (!m_tls) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto *socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setLocalCertificate(m_tls->certificate);
    socket->setPrivateKey(m_tls->key);
    socket->startServerEncryption();
    addPendingConnection(socket);
}

int ScriptedHttpServer::openConnections() const
{
    return int(std::count_if(m_sockets.begin(), m_sockets.end(), [](const auto &s) { return s && s->state() == QAbstractSocket::ConnectedState; }));
}

QUrl ScriptedHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(serverPort()).arg(path));
}

QByteArray ScriptedHttpServer::response(int status, const QByteArray &contentType, const QByteArray &body,
                                        const QByteArray &extraHeaders)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + contentType
        + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + extraHeaders
        + "\r\n" + body;
}
