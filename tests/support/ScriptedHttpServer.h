#pragma once

#include "FaultyServer.h"

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <functional>
#include <optional>

/**
 * A loopback HTTP (or, given a certificate, HTTPS) server whose answers the test writes by hand, for servers that
 * misbehave: each request gets the raw bytes the script returns (an empty answer closes the
 * connection without a reply; a null one keeps it open and silent).
 */
class ScriptedHttpServer : public QTcpServer
{
public:
    /// Maps the request's path and body to the raw bytes to send.
    using Script = std::function<QByteArray(const QByteArray &path, const QByteArray &body)>;

    /// The certificate and key to serve HTTPS with.
    using Tls = FaultyServer::Tls;

    explicit ScriptedHttpServer(Script script, const std::optional<Tls> &tls = std::nullopt);
    QUrl url(const QString &path) const;
    int requestCount() const { return m_requests; }
    /// The paths of the requests so far, in order.
    QList<QByteArray> paths() const { return m_paths; }
    /// The bodies of the requests so far, in order.
    QList<QByteArray> bodies() const { return m_bodies; }
    /// The request lines and headers of the requests so far, in order.
    QList<QByteArray> heads() const { return m_heads; }
    /// Connections the client has not closed yet.
    int openConnections() const;

    static QByteArray response(int status, const QByteArray &contentType, const QByteArray &body,
                               const QByteArray &extraHeaders = {});

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    Script m_script;
    std::optional<Tls> m_tls;
    int m_requests = 0;
    QList<QByteArray> m_paths;
    QList<QByteArray> m_bodies;
    QList<QByteArray> m_heads;
    QList<QPointer<QTcpSocket>> m_sockets;
};
