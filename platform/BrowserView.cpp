#include "platform/BrowserView.h"

#include "platform/BrowserProfile_p.h"
#include "platform/TrustPolicy.h"

#include <QPointer>
#include <QWebEngineCertificateError>

namespace pelbrook {

namespace {

class BrowserPage : public QWebEnginePage
{
public:
    BrowserPage(QWebEngineProfile *profile, BrowserView *view)
        : QWebEnginePage(profile, view)
        , m_view(view)
    {
        connect(this, &QWebEnginePage::certificateError, this, [](QWebEngineCertificateError error) {
            // A self-signed certificate shows up as an unknown authority; only the pinned one
            // gets past that, and no other kind of error is ever accepted.
            const bool pinned = error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid
                && !error.certificateChain().isEmpty()
                && TrustPolicy::isPinned(error.certificateChain().first());
            if (pinned)
                error.acceptCertificate();
            else
                error.rejectCertificate();
        });
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool) override
    {
        if (!m_view || !m_view->navigationDelegate())
            return true;
        return m_view->navigationDelegate()->shouldStartLoad(m_view, url, type);
    }

private:
    QPointer<BrowserView> m_view;
};

} // namespace

BrowserView::BrowserView(QWidget *parent)
    : QWebEngineView(parent)
{
    setPage(new BrowserPage(browserProfile(), this));
}

void BrowserView::setNavigationDelegate(NavigationDelegate *delegate)
{
    m_delegate = delegate;
}

BrowserView::~BrowserView()
{
    forgetPage(m_servedPage);
}

void BrowserView::loadHTMLString(const QString &html)
{
    forgetPage(m_servedPage);
    m_servedPage.clear();
    // The engine takes a string page as a percent-encoded data address, which it refuses past
    // 2 MiB; what may grow past that once encoded is served from memory instead.
    const QByteArray page = html.toUtf8();
    if (page.size() <= MaximumInlinePage) {
        setHtml(html, QUrl());
        return;
    }
    m_servedPage = servePageOnce(page);
    load(m_servedPage);
}

} // namespace pelbrook
