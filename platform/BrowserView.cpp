#include "platform/BrowserView.h"

#include "platform/BrowserProfile_p.h"
#include "platform/TrustPolicy.h"

#include <QEvent>
#include <QPointer>
#include <QShowEvent>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWindow>

namespace pelbrook {

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
        if (!m_view)
            return true;
        // The warm-up document's own navigation, the first after it was given, is the view's
        // business; once a real page has been asked for, every navigation is the delegate's.
        if (m_view->m_warmUp == BrowserView::WarmUp::Given) {
            m_view->m_warmUp = BrowserView::WarmUp::Done;
            if (!m_view->m_loadRequested)
                return true;
        }
        if (!m_view->navigationDelegate())
            return true;
        return m_view->navigationDelegate()->shouldStartLoad(m_view, url, type);
    }

private:
    QPointer<BrowserView> m_view;
};

BrowserView::BrowserView(QWidget *parent)
    : QWebEngineView(parent)
{
    m_prepareFallback.setSingleShot(true);
    connect(&m_prepareFallback, &QTimer::timeout, this, &BrowserView::startPreparing);
}

void BrowserView::setNavigationDelegate(NavigationDelegate *delegate)
{
    m_delegate = delegate;
}

BrowserView::~BrowserView()
{
    forgetPage(m_servedPage);
}

void BrowserView::setPageBackgroundColor(const QColor &color)
{
    m_pageBackground = color;
    if (m_page)
        m_page->setBackgroundColor(color);
}

void BrowserView::ensurePage()
{
    if (m_page)
        return;
    m_page = new BrowserPage(browserProfile(), this);
    m_page->setBackgroundColor(m_pageBackground);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &BrowserView::loadingChanged);
    QWebEngineView::setPage(m_page);
}

QWebEnginePage *BrowserView::page()
{
    ensurePage();
    return m_page;
}

void BrowserView::load(const QUrl &url)
{
    ensurePage();
    m_loadRequested = true;
    QWebEngineView::load(url);
}

void BrowserView::setHtml(const QString &html, const QUrl &baseUrl)
{
    ensurePage();
    m_loadRequested = true;
    QWebEngineView::setHtml(html, baseUrl);
}

void BrowserView::stop()
{
    if (m_page)
        QWebEngineView::stop();
}

void BrowserView::showEvent(QShowEvent *event)
{
    // The engine's view asks for its page as it is shown; it must be this view's own.
    ensurePage();
    QWebEngineView::showEvent(event);
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

void BrowserView::prepare()
{
    if (m_warmUp != WarmUp::None || m_loadRequested)
        return;
    m_warmUp = WarmUp::Waiting;
    // Not before the frame that shows what lies around the view: that frame must not wait for
    // the engine. The warm-up starts once it has been painted; a parent that is not repainted
    // soon has long been on screen, once its window is.
    m_watchedParent = parentWidget();
    if (m_watchedParent)
        m_watchedParent->installEventFilter(this);
    m_prepareFallback.start(500);
}

bool BrowserView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == m_watchedParent && m_warmUp == WarmUp::Waiting) {
        stopWatchingParent();
        // After the paint, and after the rest of the frame it belongs to.
        QTimer::singleShot(0, this, &BrowserView::startPreparing);
    }
    return QWebEngineView::eventFilter(watched, event);
}

void BrowserView::stopWatchingParent()
{
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
    m_watchedParent = nullptr;
}

void BrowserView::startPreparing()
{
    // Reached from the parent's paint or from the fallback, whichever comes first.
    if (m_warmUp != WarmUp::Waiting)
        return;
    // Closed, or left for another tab, before it got round to it: nothing to get ready for.
    if (!parentWidget() || !parentWidget()->isVisible()) {
        m_prepareFallback.stop();
        stopWatchingParent();
        m_warmUp = WarmUp::None;
        return;
    }
    // Shown but not on screen yet (a slow first frame): the fallback waits on.
    const QWindow *shown = window()->windowHandle();
    if (!shown || !shown->isExposed()) {
        m_prepareFallback.start(100);
        return;
    }
    m_prepareFallback.stop();
    stopWatchingParent();
    warmUp();
}

void BrowserView::warmUp()
{
    // One turn of the event loop: the engine's start (once per process, the long one), the
    // page, then an empty document whose load starts the page's renderer process. Both of those
    // take tens of milliseconds; done together, a pay pressed just after finds the renderer
    // already starting instead of starting it then.
    if (m_loadRequested) {
        m_warmUp = WarmUp::None;
        return;
    }
    ensurePage();
    // The engine draws a page it is told is visible, though its view is hidden until pay: what
    // the first frame of a page needs is then ready beforehand. Nothing shows; the view stays
    // hidden.
    m_page->setVisible(true);
    m_warmUp = WarmUp::Given;
    QWebEngineView::setHtml(QStringLiteral("<html></html>"));
}

} // namespace pelbrook
