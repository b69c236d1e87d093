#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <optional>

class QNetworkRequest;

namespace pelbrook {

/**
 * One request as the checkout's HTTP client sends it: the message it writes on a connection,
 * and the request a redirect leads to. A plain value.
 */
struct HttpRequest
{
    QByteArray verb;
    QUrl url;
    /// The caller's headers in order. The client writes its own Host, Content-Length and
    /// Connection, and no Transfer-Encoding or Accept-Encoding, whatever these say.
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    /// A request as callers build it: its address and all its raw headers.
    static HttpRequest from(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body);

    /// True for an http or https address with a host, and a verb and headers that cannot
    /// break the message apart.
    bool isSendable() const;
    bool isHttps() const;
    /// The port to connect to: the address's own, or the scheme's.
    quint16 port() const;
    /// The request line, the headers and the body, ready to write.
    QByteArray message() const;

    /// True for the statuses that send the client on to their Location.
    static bool isRedirect(int status);
    /**
     * The request that a redirect with @p status to @p location leads to: the location
     * resolved against this address; a GET without a body for 303, and for 301 and 302 after
     * a POST; the same verb and body for the others. Credentials stay with their origin.
     * Nothing when the location is not an http or https address, or when it would leave
     * https for http.
     */
    std::optional<HttpRequest> redirected(int status, const QByteArray &location) const;
};

} // namespace pelbrook
