#include "platform/BrowserProfile_p.h"

#include <QCoreApplication>
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
struct HandBackSchemeRegistration {
    HandBackSchemeRegistration()
    {
        QWebEngineUrlScheme scheme(HandBackScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
};
const HandBackSchemeRegistration registration;

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

} // namespace

QWebEngineProfile *browserProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        // A profile without a storage name is off the record: no cookies or cache on disk.
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->installUrlSchemeHandler(HandBackScheme, new HandBackHandler(profile));
    }
    return profile;
}

} // namespace pelbrook
