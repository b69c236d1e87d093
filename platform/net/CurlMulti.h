#pragma once

#include <QHash>
#include <QObject>
#include <QTimer>

#include <curl/curl.h>

#include <functional>

class QSocketNotifier;

namespace pelbrook {

/**
 * Runs libcurl transfers on the main thread's Qt event loop: libcurl's multi interface, told of
 * socket readiness by one QSocketNotifier per socket and direction, and of its time-outs by one
 * single-shot QTimer. Nothing runs inside add() or remove(); a transfer's end is reported from
 * the event loop.
 *
 * Internal to the HTTP client; one per process (instance()). Use on the main thread only.
 */
class CurlMulti : public QObject
{
public:
    /// Told once how a transfer ended, unless it was removed first.
    using Finished = std::function<void(CURLcode result)>;

    /// The process's one instance, made on first use; it goes with the application.
    static CurlMulti *instance();

    /// Starts @p easy; the handle stays the caller's and must be removed before it is cleaned up.
    /// Returns false, having started nothing, when libcurl refuses it or cannot be trusted with
    /// it (too old, or not built on OpenSSL).
    bool add(CURL *easy, Finished finished);
    /// Stops @p easy at once, if it is running: its connection is closed and it is not reported.
    void remove(CURL *easy);

    ~CurlMulti() override;

private:
    struct Notifiers {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    explicit CurlMulti(QObject *parent);
    static int onSocket(CURL *easy, curl_socket_t socket, int what, void *self, void *socketData);
    static int onTimer(CURLM *multi, long timeoutMs, void *self);
    void watch(curl_socket_t socket, int what);
    void act(curl_socket_t socket, int events);
    void reportEnded();

    CURLM *m_multi = nullptr;
    QTimer m_timer;
    QHash<curl_socket_t, Notifiers> m_sockets;
    QHash<CURL *, Finished> m_running;
};

} // namespace pelbrook
