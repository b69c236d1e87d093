#pragma once

#include <QByteArray>

#include <curl/curl.h>

#include <optional>

class QNetworkRequest;

namespace pelbrook {

/**
 * One request of the HTTP client as a libcurl easy handle, with every bound set: the body
 * received, the time without progress, the whole time, redirects, TLS and the proxy. It only prepares the
 * handle and keeps what libcurl writes into it; running it is CurlMulti's.
 *
 * Internal to the HTTP client. Neither copied nor moved: libcurl holds pointers into it.
 */
class CurlRequest
{
public:
    /**
     * Prepares @p verb to the request's http or https address with its raw headers and @p body.
     * A body over @p maximumBody stops the transfer; @p timeoutMs without progress, or the
     * transfer still under way @p deadlineMs after it started, fails it (0 for no limit).
     * handle() is null when the request cannot be sent.
     */
    CurlRequest(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body, qint64 maximumBody,
                int timeoutMs, int deadlineMs);
    ~CurlRequest();
    CurlRequest(const CurlRequest &) = delete;
    CurlRequest &operator=(const CurlRequest &) = delete;

    CURL *handle() const { return m_easy; }

    /**
     * Whether a header of @p name and @p value can go into the message as one header line: a
     * name of token characters, a value without a line break or NUL. A request with any other
     * header is not sent.
     */
    static bool isSendableHeader(QByteArrayView name, QByteArrayView value);
    /// The body of the reply once the transfer ended with @p result; nothing unless it succeeded.
    std::optional<QByteArray> takeAnswer(CURLcode result);

private:
    bool setVerb(const QByteArray &verb);
    void setHeaders(const QNetworkRequest &request);
    static size_t onData(char *data, size_t size, size_t count, void *self);
    static size_t onHeader(char *data, size_t size, size_t count, void *self);

    CURL *m_easy = nullptr;
    curl_slist *m_headers = nullptr;
    QByteArray m_body; ///< libcurl sends it from here, on every redirect that keeps it
    QByteArray m_pin;  ///< read by each connection's TLS set-up
    qint64 m_maximumBody;
    QByteArray m_received;
};

} // namespace pelbrook
