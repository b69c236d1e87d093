#include "platform/net/CurlRequest.h"

#include "platform/net/CurlTls.h"
#include "platform/net/TrustPolicy.h"

#include <QNetworkProxy>
#include <QNetworkRequest>

#include <utility>

namespace pelbrook {

namespace {

constexpr long MaximumRedirects = 5;

// A verb or header name with a space, a control character, a colon or a non-ASCII byte could
// end the request line or header early, or be read differently by the server.
bool isCleanToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u >= 0x7f || c == ':')
            return false;
    }
    return true;
}

// A line break in a value would start a header, or a request, of the value's choosing.
bool isCleanValue(QByteArrayView text)
{
    return !text.contains('\r') && !text.contains('\n') && !text.contains('\0');
}

// Headers that frame the message or change how the reply is encoded are libcurl's to write:
// a caller's Content-Length could cut the body, an Accept-Encoding would bring a body that
// nobody decodes, an Expect would hold the body back for a second.
bool isFraming(QByteArrayView name)
{
    for (QByteArrayView framing : {"host", "content-length", "connection", "transfer-encoding", "accept-encoding", "expect"}) {
        if (name.compare(framing, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The host's own proxy, when it set one for the application; otherwise libcurl's reading of
// https_proxy, http_proxy and no_proxy stands. An HTTP proxy tunnels every request with
// CONNECT, as it does for Qt's sockets.
void useApplicationProxy(CURL *easy)
{
    const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
    long type = 0;
    if (proxy.type() == QNetworkProxy::HttpProxy)
        type = CURLPROXY_HTTP;
    else if (proxy.type() == QNetworkProxy::Socks5Proxy)
        type = CURLPROXY_SOCKS5_HOSTNAME;
    else
        return;
    QByteArray host = proxy.hostName().toUtf8();
    if (host.contains(':'))
        host = '[' + host + ']';
    curl_easy_setopt(easy, CURLOPT_PROXY, host.constData());
    curl_easy_setopt(easy, CURLOPT_PROXYPORT, long(proxy.port()));
    curl_easy_setopt(easy, CURLOPT_PROXYTYPE, type);
    if (type == CURLPROXY_HTTP)
        curl_easy_setopt(easy, CURLOPT_HTTPPROXYTUNNEL, 1L);
    if (!proxy.user().isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy.user().toUtf8().constData());
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxy.password().toUtf8().constData());
    }
}

} // namespace

CurlRequest::CurlRequest(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body, qint64 maximumBody,
                         int timeoutMs, int deadlineMs)
    : m_body(body)
    , m_pin(TrustPolicy::pinnedDigest())
    , m_maximumBody(maximumBody)
{
    // Credentials in the address are not sent, and the fragment is the client's own.
    const QUrl url = request.url().adjusted(QUrl::RemoveUserInfo | QUrl::RemoveFragment);
    const bool https = url.scheme() == QLatin1String("https");
    if (!url.isValid() || url.host().isEmpty() || (!https && url.scheme() != QLatin1String("http")))
        return;
    m_easy = curl_easy_init();
    if (!m_easy)
        return;
    if (!setVerb(verb)) {
        curl_easy_cleanup(std::exchange(m_easy, nullptr));
        return;
    }
    setHeaders(request);
    if (!m_easy)
        return;
    curl_easy_setopt(m_easy, CURLOPT_URL, url.toEncoded().constData());
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // libcurl must neither print nor raise signals in the host's process.
    curl_easy_setopt(m_easy, CURLOPT_VERBOSE, 0L);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    // A request dropped or timed out while its host name is looked up leaves the look-up to end
    // on libcurl's resolver thread; without this the main thread would wait for it.
    curl_easy_setopt(m_easy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    // One request per connection, as the pin and the proxy may change between requests; and a
    // request dropped half-way leaves no connection behind.
    curl_easy_setopt(m_easy, CURLOPT_FORBID_REUSE, 1L);

    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &CurlRequest::onData);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(maximumBody));
    if (timeoutMs > 0) {
        // libcurl counts the time without progress in whole seconds, over a few seconds' average.
        curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, long(timeoutMs));
        curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, long((timeoutMs + 999) / 1000));
    }
    // The speed check passes a server that sends a byte a second; only a deadline ends that.
    // libcurl counts it from the start of the transfer, over every redirect.
    if (deadlineMs > 0)
        curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, long(deadlineMs));
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, MaximumRedirects);
    curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, https ? "https" : "http,https");

    CurlTls::configure(m_easy, m_pin);
    useApplicationProxy(m_easy);
}

CurlRequest::~CurlRequest()
{
    if (m_easy)
        curl_easy_cleanup(m_easy);
    curl_slist_free_all(m_headers);
}

bool CurlRequest::setVerb(const QByteArray &verb)
{
    if (!isCleanToken(verb))
        return false;
    if (verb == "GET" && m_body.isEmpty()) {
        curl_easy_setopt(m_easy, CURLOPT_HTTPGET, 1L);
        return true;
    }
    if (verb == "HEAD") {
        curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
        return true;
    }
    // A POST's redirects are libcurl's as they are every client's: 301, 302 and 303 go on with a
    // GET without the body, 307 and 308 with the POST and its body.
    curl_easy_setopt(m_easy, CURLOPT_POSTFIELDS, m_body.constData());
    curl_easy_setopt(m_easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(m_body.size()));
    if (verb != "POST") {
        // Any other verb is sent on every redirect, so its body goes with it too; a 303, which
        // asks for another resource by GET, is refused rather than sent the verb (onHeader).
        curl_easy_setopt(m_easy, CURLOPT_CUSTOMREQUEST, verb.constData());
        curl_easy_setopt(m_easy, CURLOPT_POSTREDIR, long(CURL_REDIR_POST_ALL));
        curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &CurlRequest::onHeader);
        curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    }
    return true;
}

bool CurlRequest::isSendableHeader(QByteArrayView name, QByteArrayView value)
{
    return isCleanToken(name) && isCleanValue(value);
}

void CurlRequest::setHeaders(const QNetworkRequest &request)
{
    bool typed = false;
    for (const QByteArray &name : request.rawHeaderList()) {
        const QByteArray value = request.rawHeader(name);
        if (!isSendableHeader(name, value)) {
            curl_easy_cleanup(std::exchange(m_easy, nullptr));
            return;
        }
        if (isFraming(name))
            continue;
        typed = typed || name.compare("content-type", Qt::CaseInsensitive) == 0;
        // "Name;" is libcurl's way of sending a header with an empty value.
        m_headers = curl_slist_append(m_headers, (value.isEmpty() ? name + ';' : name + ": " + value).constData());
    }
    // No Expect: 100-continue wait before a large body, and no form type the caller did not give.
    m_headers = curl_slist_append(m_headers, "Expect:");
    if (!typed)
        m_headers = curl_slist_append(m_headers, "Content-Type:");
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers);
}

size_t CurlRequest::onData(char *data, size_t size, size_t count, void *self)
{
    auto *request = static_cast<CurlRequest *>(self);
    const size_t bytes = size * count;
    // Past the limit the transfer stops here, whatever the server announced.
    if (qint64(bytes) > request->m_maximumBody - request->m_received.size())
        return 0;
    request->m_received.append(data, qsizetype(bytes));
    return bytes;
}

size_t CurlRequest::onHeader(char *data, size_t size, size_t count, void *self)
{
    long status = 0;
    curl_easy_getinfo(static_cast<CurlRequest *>(self)->m_easy, CURLINFO_RESPONSE_CODE, &status);
    // Only a 303 that redirects is refused; without a Location it is an answer like any other.
    const QByteArrayView line(data, qsizetype(size * count));
    return status == 303 && line.size() > 9 && QByteArrayView(line.first(9)).compare("location:", Qt::CaseInsensitive) == 0 ? 0 : size * count;
}

std::optional<QByteArray> CurlRequest::takeAnswer(CURLcode result)
{
    if (result != CURLE_OK)
        return std::nullopt;
    return std::exchange(m_received, {});
}

} // namespace pelbrook
