#pragma once

#include <QByteArrayList>
#include <QNetworkProxy>
#include <QTcpServer>

/**
 * A loopback HTTP proxy that only tunnels: it answers CONNECT host:port, then relays the bytes
 * both ways until either side closes. It records the targets it tunnelled to, so a test can
 * tell that a request went through it. Anything but a CONNECT is refused.
 */
class TunnelProxy : public QTcpServer
{
public:
    TunnelProxy();
    /// This proxy, for QNetworkProxy::setApplicationProxy().
    QNetworkProxy proxy() const;
    /// The "host:port" of each CONNECT, in order.
    QByteArrayList targets() const { return m_targets; }

private:
    void accept(QTcpSocket *client);

    QByteArrayList m_targets;
};
