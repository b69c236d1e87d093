#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>

#include <functional>
#include <optional>

namespace pelbrook {

/**
 * Announces the end of each of the HTTP client's requests, for tests and tools that wait for
 * the network. There is one per process: HttpClient::events().
 */
class HttpClientEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    /// A request ended: its completion has run, or was dropped because its context went first.
    void requestFinished();
};

/**
 * The checkout's HTTP client: one request, one answer, delivered on the main thread.
 *
 * The transfers are libcurl's (HTTP/1.1), run on the main thread's event loop (CurlMulti), one
 * connection per request. Qt 6.4's network access manager is not used: it reads response
 * headers without any limit, on a thread that nothing can interrupt.
 *
 * Every request is bounded: response headers (libcurl's limits), the body, the time without
 * any progress, its whole time (a deadline, so that a server sending a byte now and then cannot
 * hold it for days), and redirects (at most five, never from https to http). A body larger
 * than the limit, a transport failure, a time-out or anything that is not HTTP gives no body
 * at all. A reply that arrived with an HTTP status gives its body whatever the status (callers
 * that care about the status read it from the body's content).
 *
 * TLS is verified against the system's roots and the address's host name; the one certificate
 * pinned in the endpoints is accepted in addition (CurlTls). Connections go through the
 * application's HTTP or SOCKS5 proxy if it has one, otherwise through the proxy the
 * environment names (https_proxy, http_proxy, no_proxy). Nothing is logged.
 *
 * @code
 * HttpClient::send("GET", QNetworkRequest(url), {}, this, [this](std::optional<QByteArray> body) {
 *     if (body)
 *         show(*body);
 * });
 * @endcode
 */
class HttpClient
{
public:
    /// The body of a reply, or nothing when no reply arrived.
    using Completion = std::function<void(std::optional<QByteArray> body)>;

    static constexpr qint64 DefaultMaximumBody = 1024 * 1024;
    static constexpr int DefaultTimeoutMs = 60 * 1000;
    /// Ample for a small answer, such as a payment token, from a slow server.
    static constexpr int DefaultDeadlineMs = 30 * 1000;

    /**
     * Sends a request: @p verb to the request's http or https address, with its raw headers
     * and @p body. @p done runs later on the main thread, exactly once, unless @p context is
     * destroyed first, in which case it never runs and the connection is closed at once.
     * @p done may destroy @p context. Call on the main thread.
     *
     * A body over @p maximumBody fails the request, and so does one not received in full
     * within @p deadlineMs of the call, connecting and redirects included, however steadily it
     * arrives (0 for no deadline); a stall fails it sooner (setTransferTimeout()).
     */
    static void send(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body,
                     QObject *context, Completion done, qint64 maximumBody = DefaultMaximumBody,
                     int deadlineMs = DefaultDeadlineMs);

    /**
     * Sets the time a request may go without any progress (connecting, sending or receiving)
     * before it fails, for the requests sent afterwards; 0 for none. The default is
     * DefaultTimeoutMs. Connecting is timed to the millisecond; a stall once connected is
     * noticed by libcurl's speed check, in whole seconds (rounded up) and up to a few seconds
     * late, as it averages the speed. For tests; call on the main thread.
     */
    static void setTransferTimeout(int milliseconds);

    /// The process-wide announcer of ended requests, created on first use on the main thread.
    static HttpClientEvents *events();
};

} // namespace pelbrook
