#pragma once

#include <QByteArray>
#include <QTcpServer>

#include <functional>

/**
 * A plain-HTTP loopback server whose answers the test writes by hand, for servers that
 * misbehave: each request gets the raw bytes the script returns (an empty answer closes the
 * connection without a reply; a null one keeps it open and silent).
 */
class ScriptedHttpServer : public QTcpServer
{
public:
    /// Maps the request's path and body to the raw bytes to send.
    using Script = std::function<QByteArray(const QByteArray &path, const QByteArray &body)>;

    explicit ScriptedHttpServer(Script script);
    QUrl url(const QString &path) const;
    int requestCount() const { return m_requests; }

    static QByteArray response(int status, const QByteArray &contentType, const QByteArray &body,
                               const QByteArray &extraHeaders = {});

private:
    Script m_script;
    int m_requests = 0;
};
