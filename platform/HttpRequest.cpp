#include "platform/HttpRequest.h"

#include <QNetworkRequest>

namespace pelbrook {

namespace {

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

bool isNamed(QByteArrayView name, std::initializer_list<QByteArrayView> names)
{
    for (QByteArrayView n : names) {
        if (name.compare(n, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

HttpRequest HttpRequest::from(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body)
{
    HttpRequest r{verb, request.url(), {}, body};
    for (const QByteArray &name : request.rawHeaderList())
        r.headers.append({name, request.rawHeader(name)});
    return r;
}

bool HttpRequest::isSendable() const
{
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    if (!isCleanToken(verb))
        return false;
    for (const auto &[name, value] : headers) {
        if (!isCleanToken(name) || !isCleanValue(value))
            return false;
    }
    return true;
}

bool HttpRequest::isHttps() const
{
    return url.scheme() == QLatin1String("https");
}

quint16 HttpRequest::port() const
{
    return quint16(url.port(isHttps() ? 443 : 80));
}

QByteArray HttpRequest::message() const
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (!target.startsWith('/'))
        target.prepend('/');
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();

    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (url.port() != -1 && port() != (isHttps() ? 443 : 80))
        host += ':' + QByteArray::number(port());

    QByteArray message = verb + ' ' + target + " HTTP/1.1\r\nHost: " + host + "\r\n";
    for (const auto &[name, value] : headers) {
        if (!isNamed(name, {"host", "content-length", "connection", "transfer-encoding", "accept-encoding"}))
            message += name + ": " + value + "\r\n";
    }
    // Servers may refuse a POST or PUT without a length, even an empty one.
    if (!body.isEmpty() || verb == "POST" || verb == "PUT" || verb == "PATCH")
        message += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    // One request per connection: the end of the connection is never in doubt.
    message += "Connection: close\r\n\r\n";
    return message + body;
}

bool HttpRequest::isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::optional<HttpRequest> HttpRequest::redirected(int status, const QByteArray &location) const
{
    HttpRequest next = *this;
    next.url = url.resolved(QUrl::fromEncoded(location));
    if (!next.isSendable() || (isHttps() && !next.isHttps()))
        return std::nullopt;
    // 303 asks for the resource by GET; clients have always done the same for 301 and 302
    // after a POST, and servers count on it. 307 and 308 exist to keep the verb and body.
    if ((status == 303 && verb != "HEAD") || ((status == 301 || status == 302) && verb == "POST")) {
        next.verb = "GET";
        next.body.clear();
        next.headers.removeIf([](const auto &header) { return header.first.toLower().startsWith("content-"); });
    }
    if (next.url.scheme() != url.scheme() || next.url.host() != url.host() || next.port() != port())
        next.headers.removeIf([](const auto &header) { return isNamed(header.first, {"authorization", "cookie"}); });
    return next;
}

} // namespace pelbrook
