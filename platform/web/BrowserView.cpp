#include "platform/web/BrowserView.h"

#include "platform/web/BrowserPage_p.h"
#include "platform/web/BrowserProfile_p.h"
#include "platform/DebugLog_p.h"

#include <QEvent>
#include <QWebEngineView>
#include <QWindow>

#include <utility>

namespace pelbrook {

namespace {

// The documents a secure page makes for its own frames, as browsers let it.
bool isFrameDocument(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("blob") || scheme == QLatin1String("data"))
        return true;
    return scheme == QLatin1String("about") && (url.path() == QLatin1String("blank") || url.path() == QLatin1String("srcdoc"));
}

} // namespace

BrowserView::BrowserView(QWidget *parent)
    : QWidget(parent)
{
    m_prepareFallback.setSingleShot(true);
    connect(&m_prepareFallback, &QTimer::timeout, this, &BrowserView::startPreparing);
}

BrowserView::~BrowserView()
{
    closeDialogs();
    forgetPage(m_servedPage);
    // The engine's views (the current one, and closed ones waiting for their deferred delete)
    // go before their pages, which they point to. A page whose dialog is still on the stack (the
    // view went from inside the dialog's wait) goes once the dialog returns.
    m_engine = nullptr;
    qDeleteAll(findChildren<QWebEngineView *>(Qt::FindDirectChildrenOnly));
    if (m_page)
        m_closedPages.append(std::exchange(m_page, nullptr));
    for (const QPointer<BrowserPage> &page : std::as_const(m_closedPages)) {
        if (!page)
            continue;
        page->detach();
        if (page->inDialog())
            page->release();
        else
            delete page.data();
    }
}

void BrowserView::setNavigationDelegate(NavigationDelegate *delegate)
{
    m_delegate = delegate;
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
    m_page = new BrowserPage(this);
    m_page->setBackgroundColor(m_pageBackground);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &BrowserView::loadingChanged);
    connect(m_page, &QWebEnginePage::loadFinished, this, &BrowserView::loadFinished);
    // A page the buyer has silenced is heard again once it has loaded another document.
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_dialogsShown = 0;
    });
    // A page whose renderer has gone has no script left waiting for an answer.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, &BrowserView::closeDialogs);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, &BrowserView::renderProcessTerminated);
    // Made with its page, the engine's view never has a moment without it, in which it would
    // make one of the default profile's.
    m_engine = new QWebEngineView(m_page, this);
    m_engine->setObjectName(objectName());
    // Its menu would offer "Save page" and "View source": neither belongs in a checkout.
    m_engine->setContextMenuPolicy(Qt::NoContextMenu);
    m_engine->setGeometry(rect());
    m_engine->show();
    setFocusProxy(m_engine);
}

QWebEnginePage *BrowserView::page()
{
    ensurePage();
    return m_page;
}

QUrl BrowserView::url() const
{
    return m_page ? m_page->url() : QUrl();
}

QString BrowserView::title() const
{
    return m_page ? m_page->title() : QString();
}

void BrowserView::stop()
{
    if (m_page)
        m_page->triggerAction(QWebEnginePage::Stop);
}

void BrowserView::closePage()
{
    closeDialogs();
    forgetPage(m_servedPage);
    m_servedPage.clear();
    m_ownPageScheme.clear();
    m_prepareFallback.stop();
    stopWatchingParent();
    m_warmUp = WarmUp::None;
    m_loadRequested = false;
    m_dialogsShown = 0;
    if (!m_page)
        return;
    BrowserPage *page = std::exchange(m_page, nullptr);
    QWebEngineView *engine = std::exchange(m_engine, nullptr);
    setFocusProxy(nullptr);
    page->detach();
    disconnect(page, nullptr, this, nullptr);
    page->triggerAction(QWebEnginePage::Stop);
    engine->hide();
    // Deferred, since this may be reached from inside one of the page's own signals; the view
    // goes first, as it points to the page. Until then the page navigates nowhere and opens
    // no dialog.
    engine->deleteLater();
    m_closedPages.removeAll(nullptr);
    m_closedPages.append(page);
    page->release();
}

PageDialog *BrowserView::openDialog() const
{
    for (auto it = m_dialogs.crbegin(); it != m_dialogs.crend(); ++it) {
        if (*it)
            return *it;
    }
    return nullptr;
}

void BrowserView::resizeEvent(QResizeEvent *)
{
    if (m_engine)
        m_engine->setGeometry(rect());
    for (const QPointer<PageDialog> &dialog : std::as_const(m_dialogs)) {
        if (dialog)
            dialog->setGeometry(geometry());
    }
}

void BrowserView::loadHTMLString(const QString &html)
{
    forgetPage(m_servedPage);
    m_servedPage.clear();
    ensurePage();
    m_loadRequested = true;
    // The engine takes a string page as a percent-encoded data address, which it refuses past
    // 2 MiB; what may grow past that once encoded is served from memory instead.
    const QByteArray page = html.toUtf8();
    if (page.size() <= MaximumInlinePage) {
        m_ownPageScheme = QStringLiteral("data");
        m_page->setHtml(html, QUrl());
        return;
    }
    m_servedPage = servePageOnce(page);
    m_ownPageScheme = QLatin1String(PageScheme);
    m_page->load(m_servedPage);
}

bool BrowserView::acceptNavigation(const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame)
{
    // The warm-up document's own navigation, the first after it was given, is the view's
    // business; once a real page has been asked for, every navigation is judged.
    if (m_warmUp == WarmUp::Given) {
        m_warmUp = WarmUp::Done;
        if (!m_loadRequested)
            return true;
        // The warm-up document, asked about only after a page served from memory replaced it:
        // nothing to load, and nothing to tell anyone.
        if (isMainFrame && url.scheme() == QLatin1String("data") && m_ownPageScheme != QLatin1String("data"))
            return false;
    }
    const QString scheme = url.scheme();
    bool allowed = false;
    if (isMainFrame && !m_ownPageScheme.isEmpty() && scheme == m_ownPageScheme) {
        // The view's own page, until the gateway's first page replaces it.
        allowed = true;
    } else if (scheme == QLatin1String("https")) {
        allowed = true;
        if (isMainFrame)
            m_ownPageScheme.clear();
    } else if (scheme == QLatin1String(HandBackScheme)) {
        // Only the payment page itself speaks for the payment; anyone's page can be in a frame.
        if (!isMainFrame) {
            debugLog(QStringLiteral("A hand-back from a frame was refused; the payment goes on."));
            return false;
        }
        allowed = true;
    } else if (!isMainFrame && isFrameDocument(url)) {
        allowed = true;
    }
    if (!allowed) {
        // The scheme only: the rest of the address is the page's, and may carry what it read
        // from the buyer.
        debugLog(QStringLiteral("A navigation to a %1: address was refused: the payment page may load only secure pages.").arg(url.scheme().left(32)));
        Q_EMIT navigationRefused(url, type, isMainFrame);
        return false;
    }
    return !m_delegate || m_delegate->shouldStartLoad(this, url, type);
}

bool BrowserView::runDialog(PageDialog::Kind kind, const QString &message, const QString &defaultValue, QString *result)
{
    // A page that is not on screen has no one to ask; one that keeps asking is silenced.
    if (!isVisible() || !parentWidget()) {
        debugLog(QStringLiteral("A dialog of a payment page not on screen was answered as cancelled."));
        return false;
    }
    if (m_dialogsShown >= DialogsPerPage) {
        debugLog(QStringLiteral("A dialog of the payment page was answered as cancelled: the page has opened too many."));
        return false;
    }
    ++m_dialogsShown;
    PageDialog *dialog = nullptr;
    {
        // Only while the texts are made: the dialog's wait must not lend this checkout's
        // language to one made meanwhile.
        const LanguageScope language(m_language);
        // Beside the view, not in it, so it lies above whatever covers the view (the overlay).
        dialog = new PageDialog(kind, message, defaultValue, parentWidget());
    }
    dialog->setGeometry(geometry());
    m_dialogs.removeAll(nullptr);
    m_dialogs.append(dialog);
    const QPointer<PageDialog> alive(dialog);
    const bool accepted = dialog->exec(result);
    if (alive) {
        m_dialogs.removeAll(alive);
        delete alive.data();
    }
    return accepted;
}

void BrowserView::closeDialogs()
{
    // Innermost first, though each only ends its own wait.
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
        if (*it) {
            (*it)->cancel();
            (*it)->hide();
        }
    }
}

void BrowserView::prepare(const QUrl &origin)
{
    if (m_warmUp != WarmUp::None || m_loadRequested)
        return;
    m_warmUp = WarmUp::Waiting;
    m_preconnect = origin;
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
    return QWidget::eventFilter(watched, event);
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
    // page and its profile, then an empty document whose load starts the page's renderer
    // process, and opens the connection the payment will use.
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
    QString document = QStringLiteral("<html></html>");
    if (m_preconnect.isValid() && m_preconnect.scheme() == QLatin1String("https")) {
        // The origin alone, encoded and escaped: a double quote cannot survive either.
        const QString origin = QString::fromLatin1(
                                   m_preconnect.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
                                       .toEncoded(QUrl::FullyEncoded))
                                   .toHtmlEscaped();
        document = QStringLiteral("<html><head><link rel=\"preconnect\" href=\"%1\"></head></html>").arg(origin);
    }
    m_page->setHtml(document);
}

} // namespace pelbrook
