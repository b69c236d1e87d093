#include "platform/web/BrowserProfile_p.h"

#include "platform/DebugLog_p.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <QUuid>
#include <QWebEngineDownloadRequest>
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

bool engineStarted = false;
int liveProfiles = 0;

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

QWebEngineProfile *makePageProfile()
{
    engineStarted = true;
    // Without a storage name a profile is off the record: cookies, storage and service workers
    // live in memory and die with it. One per page, so nothing of one buyer's payment reaches
    // the next one's, and the host's own default profile is never touched.
    auto *profile = new QWebEngineProfile(QCoreApplication::instance());
    ++liveProfiles;
    // A folder only the profile's engine writes to (a download's partial file, should the engine
    // start one before it is refused), removed with the profile.
    auto *scratch = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/pelbrook-checkout-XXXXXX"));
    QObject::connect(profile, &QObject::destroyed, [scratch] {
        --liveProfiles;
        delete scratch;
    });
    // Payment pages are never worth keeping, even in memory: they hold card details.
    profile->setHttpCacheType(QWebEngineProfile::NoCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    // Empty when the folder could not be made.
    if (!scratch->path().isEmpty()) {
        // Off the record, the engine still makes empty folders where a stored profile would
        // keep its data: they go there too.
        profile->setPersistentStoragePath(scratch->path());
        profile->setCachePath(scratch->path());
        profile->setDownloadPath(scratch->path());
    }
    profile->installUrlSchemeHandler(HandBackScheme, new HandBackHandler(profile));
    profile->installUrlSchemeHandler(PageScheme, new PageHandler(profile));
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile, [](QWebEngineDownloadRequest *download) {
        // The library keeps nothing on disk, and a file saved on a till is the next buyer's.
        debugLog(QStringLiteral("A download from the payment page was refused."));
        download->cancel();
    });
    return profile;
}

bool browserEngineStarted()
{
    return engineStarted;
}

int livePageProfiles()
{
    return liveProfiles;
}

} // namespace pelbrook
