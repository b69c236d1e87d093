#include "TunnelProxy.h"

#include <QTcpSocket>

#include <memory>

namespace {

// Relays what one side sends to the other, and closes both when either ends.
void relay(QTcpSocket *from, QTcpSocket *to)
{
    QObject::connect(from, &QTcpSocket::readyRead, to, [from, to]() { to->write(from->readAll()); });
    QObject::connect(from, &QTcpSocket::disconnected, to, [to]() { to->disconnectFromHost(); });
}

} // namespace

TunnelProxy::TunnelProxy()
{
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this]() {
        while (QTcpSocket *client = nextPendingConnection())
            accept(client);
    });
}

QNetworkProxy TunnelProxy::proxy() const
{
    return QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), serverPort());
}

void TunnelProxy::accept(QTcpSocket *client)
{
    client->setParent(this);
    connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    auto *upstream = new QTcpSocket(client);
    auto asked = std::make_shared<bool>(false);
    connect(client, &QTcpSocket::readyRead, client, [this, client, upstream, asked]() {
        if (*asked)
            return;
        // The request head stays in the client's buffer until it is whole.
        if (!client->canReadLine() || !client->peek(8192).contains("\r\n\r\n")) {
            if (client->bytesAvailable() > 8192)
                client->abort();
            return;
        }
        const QByteArrayList requestLine = client->readLine().trimmed().split(' ');
        client->read(client->peek(8192).indexOf("\r\n\r\n") + 4);
        const QByteArray target = requestLine.value(1);
        const qsizetype colon = target.lastIndexOf(':');
        if (requestLine.value(0) != "CONNECT" || colon < 0) {
            client->write("HTTP/1.1 405 Only CONNECT\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            client->disconnectFromHost();
            return;
        }
        *asked = true;
        m_targets.append(target);
        connect(upstream, &QTcpSocket::connected, client, [client, upstream]() {
            client->write("HTTP/1.1 200 Connection established\r\n\r\n");
            relay(client, upstream);
            relay(upstream, client);
            upstream->write(client->readAll());
        });
        connect(upstream, &QTcpSocket::errorOccurred, client, [client]() { client->disconnectFromHost(); });
        upstream->connectToHost(QString::fromLatin1(target.left(colon)), target.mid(colon + 1).toUShort());
    });
}
