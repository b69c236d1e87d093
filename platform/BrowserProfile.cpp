#include "platform/BrowserProfile_p.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QUuid>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace pelbrook {

namespace {

// The engine only reports navigations (redirects included) to schemes it knows, and schemes
// must be known before the application object exists. Registering from a static initialiser
// means the shared library does it as it loads, before the host's main() runs.
struct SchemeRegistration {
    SchemeRegistration()
    {
        for (const char *name : {HandBackScheme, PageScheme}) {
            QWebEngineUrlScheme scheme(name);
            scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
            scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
            QWebEngineUrlScheme::registerScheme(scheme);
        }
    }
};
const SchemeRegistration registration;

// The navigation delegate has already taken the result by the time the engine loads the
// hand-back address; the page itself is an empty document.
class HandBackHandler : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        job->fail(QWebEngineUrlRequestJob::RequestAborted);
    }
};

// The pages waiting to be asked for, by path. Main thread only.
QHash<QString, QByteArray> &pages()
{
    static QHash<QString, QByteArray> waiting;
    return waiting;
}

// Pages too large for a data address, handed to the engine once each and then forgotten: they
// hold card details.
class PageHandler : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        const QByteArray page = pages().take(job->requestUrl().path());
        if (page.isNull() || job->requestMethod() != "GET") {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto *body = new QBuffer(job);
        body->setData(page);
        job->reply("text/html;charset=utf-8", body);
    }
};

} // namespace

QUrl servePageOnce(const QByteArray &html)
{
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    pages().insert(id, html);
    QUrl url;
    url.setScheme(QLatin1String(PageScheme));
    url.setPath(id);
    return url;
}

void forgetPage(const QUrl &url)
{
    if (url.scheme() == QLatin1String(PageScheme))
        pages().remove(url.path());
}

namespace {

QPointer<QWebEngineProfile> &profileSlot()
{
    static QPointer<QWebEngineProfile> profile;
    return profile;
}

} // namespace

bool browserProfileExists()
{
    return !profileSlot().isNull();
}

QWebEngineProfile *browserProfile()
{
    QPointer<QWebEngineProfile> &profile = profileSlot();
    if (!profile) {
        // A profile without a storage name is off the record: no cookies or cache on disk.
        profile = new QWebEngineProfile(QCoreApplication::instance());
        // Payment pages are never worth keeping, even in memory: they hold card details, and a
        // kiosk's cache would only grow with them.
        profile->setHttpCacheType(QWebEngineProfile::NoCache);
        profile->installUrlSchemeHandler(HandBackScheme, new HandBackHandler(profile));
        profile->installUrlSchemeHandler(PageScheme, new PageHandler(profile));
    }
    return profile;
}

} // namespace pelbrook
