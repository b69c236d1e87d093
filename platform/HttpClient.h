#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QPointer>

#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace pelbrook {

/**
 * The checkout's HTTP client: one request, one answer, delivered on the main thread.
 *
 * Every request is bounded: a body larger than the limit, a transport failure or a time-out
 * gives no body at all. A reply that arrived with an HTTP status gives its body whatever the
 * status (callers that care about the status read it from the body's content).
 *
 * TLS is verified against the system's roots; the one certificate pinned in the endpoints is
 * accepted in addition (see TrustPolicy).
 */
class HttpClient
{
public:
    /// The body of a reply, or nothing when no reply arrived.
    using Completion = std::function<void(std::optional<QByteArray> body)>;

    static constexpr qint64 DefaultMaximumBody = 1024 * 1024;
    static constexpr int DefaultTimeoutMs = 60 * 1000;

    /**
     * Sends a request. @p done runs later on the main thread, exactly once, unless @p context
     * is destroyed first, in which case it never runs. Call on the main thread.
     */
    static void send(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body,
                     QObject *context, Completion done, qint64 maximumBody = DefaultMaximumBody);

    /// The process-wide access manager, created on first use on the main thread.
    static QNetworkAccessManager *manager();
};

} // namespace pelbrook
