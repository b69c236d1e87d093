#include "platform/web/BrowserPage_p.h"

#include "platform/web/BrowserProfile_p.h"
#include "platform/web/BrowserView.h"
#include "platform/DebugLog_p.h"
#include "platform/net/TrustPolicy.h"

#include <QAuthenticator>
#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
#include <QWebEngineDesktopMediaRequest>
#endif

namespace pelbrook {

BrowserPage::BrowserPage(BrowserView *view)
    : QWebEnginePage(makePageProfile(), nullptr)
    , m_view(view)
{
    // The engine needs the profile until the page is gone; the page may go from inside the
    // engine's own call, so the profile waits for the next turn of the event loop.
    connect(this, &QObject::destroyed, profile(), &QObject::deleteLater);
    connect(this, &QWebEnginePage::certificateError, this, [](QWebEngineCertificateError error) {
        // A self-signed certificate shows up as an unknown authority; only the pinned one
        // gets past that, and no other kind of error is ever accepted.
        const bool pinned = error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid
            && !error.certificateChain().isEmpty() && TrustPolicy::isPinned(error.certificateChain().first());
        if (pinned)
            error.acceptCertificate();
        else
            error.rejectCertificate();
    });
    QWebEngineSettings *s = settings();
    // Every address the page tries is put to the navigation check, which refuses other
    // programs' schemes: the engine would otherwise hand a clicked one to the desktop.
    s->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowAllUnknownUrlSchemes);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    s->setAttribute(QWebEngineSettings::LocalStorageEnabled, true);
    denyPermissions();
    connect(this, &QWebEnginePage::fullScreenRequested, this, [](QWebEngineFullScreenRequest request) {
        // The checkout's window is the merchant's; a page does not get to take the screen.
        request.reject();
    });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::authenticationRequired, this, [](const QUrl &, QAuthenticator *authenticator) {
        // A null authenticator cancels: no one is there to type a password for the page.
        debugLog(QStringLiteral("The payment page asked for a password; refused."));
        *authenticator = QAuthenticator();
    });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl &, QAuthenticator *authenticator, const QString &) { *authenticator = QAuthenticator(); });
}

BrowserPage::~BrowserPage() = default;

void BrowserPage::denyPermissions()
{
    // Location, camera, microphone, notifications, clipboard, screen capture: a payment page
    // gets none of them, and hears so at once instead of waiting on a question no one sees.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    connect(this, &QWebEnginePage::permissionRequested, this, [](QWebEnginePermission permission) {
        debugLog(QStringLiteral("A permission asked for by the payment page was refused."));
        permission.deny();
    });
#else
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        debugLog(QStringLiteral("A permission asked for by the payment page was refused."));
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
#endif
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    connect(this, &QWebEnginePage::desktopMediaRequested, this,
            [](const QWebEngineDesktopMediaRequest &request) { request.cancel(); });
#endif
}

void BrowserPage::detach()
{
    m_view = nullptr;
}

void BrowserPage::release()
{
    detach();
    m_released = true;
    if (!inDialog())
        deleteLater();
}

bool BrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!m_view)
        return false;
    return m_view->acceptNavigation(url, type, isMainFrame);
}

QWebEnginePage *BrowserPage::createWindow(WebWindowType)
{
    // A new window would be a page without the checkout's close button around it.
    debugLog(QStringLiteral("A window opened by the payment page was refused."));
    return nullptr;
}

QStringList BrowserPage::chooseFiles(FileSelectionMode, const QStringList &, const QStringList &)
{
    // A file dialog on a till is a way into the machine's files, not part of a payment.
    debugLog(QStringLiteral("A file chooser opened by the payment page was refused."));
    return {};
}

void BrowserPage::javaScriptAlert(const QUrl &, const QString &msg)
{
    runDialog(PageDialog::Kind::Alert, msg, QString(), nullptr);
}

bool BrowserPage::javaScriptConfirm(const QUrl &, const QString &msg)
{
    return runDialog(PageDialog::Kind::Confirm, msg, QString(), nullptr);
}

bool BrowserPage::javaScriptPrompt(const QUrl &, const QString &msg, const QString &defaultValue, QString *result)
{
    return runDialog(PageDialog::Kind::Prompt, msg, defaultValue, result);
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &)
{
    // What the page writes to its console may hold what the buyer typed into it: it goes
    // nowhere, certainly not to the host's log.
}

bool BrowserPage::runDialog(PageDialog::Kind kind, const QString &message, const QString &defaultValue, QString *result)
{
    if (!m_view)
        return false;
    ++m_dialogDepth;
    const bool accepted = m_view->runDialog(kind, message, defaultValue, result);
    --m_dialogDepth;
    // Released while the buyer looked at the dialog: the engine is done with the page once
    // this call returns.
    if (m_released && !inDialog())
        deleteLater();
    return accepted;
}

} // namespace pelbrook
