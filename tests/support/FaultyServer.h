#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <optional>

/**
 * A loopback HTTP(S) server that answers with one good body, or fails in one chosen way. It is
 * bounded: it answers a few requests and then only closes connections, and it stops altogether
 * after its lifetime, so a test that forgets it cannot hang on it.
 */
class FaultyServer : public QObject
{
    Q_OBJECT
public:
    enum class Fault {
        None,                 ///< answers the good body
        Refuse,               ///< nothing listens on the port
        StallBeforeReply,     ///< reads the request, never answers
        StallMidReply,        ///< sends the headers and half the body, then nothing
        Drip,                 ///< sends the good answer a byte at a time
        SlowDrip,             ///< likewise, a byte every 100 ms: never stalled, but for seconds
        CloseEarly,           ///< sends the headers and a few bytes, then closes
        LongerContentLength,  ///< announces more than it sends, then closes
        ShorterContentLength, ///< announces half of what it sends
        GiganticHeaders,      ///< a header line that never ends (up to the gigantic size)
        GiganticBody,         ///< a body without a length that never ends (likewise)
        GiganticAnnouncedBody,///< a gigantic Content-Length, then the body at full speed
        HttpError,            ///< 503 with an HTML page
        Garbage,              ///< bytes that are not HTTP at all
    };
    Q_ENUM(Fault)

    /// The TLS certificate and key to serve with; none for plain HTTP.
    struct Tls {
        QSslCertificate certificate;
        QSslKey key;
    };

    static constexpr qint64 GiganticBytes = 256LL * 1024 * 1024;

    FaultyServer(Fault fault, QByteArray goodBody, std::optional<Tls> tls = std::nullopt, int maximumRequests = 4,
                 int lifetimeMs = 30000);
    ~FaultyServer() override;

    QUrl url(const QString &path) const;
    /// Requests read in full so far.
    int requestCount() const { return m_requests; }
    /// Connections the client still holds open.
    int openConnections() const
    {
        return int(std::count_if(m_sockets.begin(), m_sockets.end(),
                                 [](const QPointer<QTcpSocket> &s) { return s && s->state() == QAbstractSocket::ConnectedState; }));
    }

private:
    void accept(QTcpSocket *socket);
    void answer(QTcpSocket *socket);
    /// Keeps writing @p chunk (after @p head) while the client reads, up to GiganticBytes.
    void flood(QTcpSocket *socket, const QByteArray &head, const QByteArray &chunk);

    Fault m_fault;
    QByteArray m_good;
    std::unique_ptr<QTcpServer> m_server;
    quint16 m_port = 0;
    bool m_tls = false;
    int m_maximumRequests;
    int m_requests = 0;
    QTimer m_lifetime;
    QList<QPointer<QTcpSocket>> m_sockets;
};
