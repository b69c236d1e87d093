#pragma once

#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace pelbrook {

class BrowserView;

/// Asked before every navigation of a BrowserView: the first page, form posts, redirects and
/// script navigations, in the main frame and in sub-frames. Runs on the main thread.
class NavigationDelegate
{
public:
    virtual ~NavigationDelegate() = default;
    /// Returns whether the navigation to @p url may go ahead.
    virtual bool shouldStartLoad(BrowserView *view, const QUrl &url,
                                 QWebEnginePage::NavigationType type) = 0;
};

/**
 * The embedded browser view: a QWebEngineView on the library's private, off-the-record
 * profile (nothing is kept on disk), whose navigations are put to a delegate first.
 *
 * TLS errors are never accepted, except for the certificate pinned in the endpoints.
 *
 * The view gets its page, and the process its browser engine, only when first needed: when it
 * loads, is shown or is prepared. Starting the engine holds the main thread for a long moment
 * (well over a frame), and a screen that is never paid from need never pay for it. Use the view
 * through this class: QWebEngineView's own page() would give it a page of the default profile.
 */
class BrowserView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit BrowserView(QWidget *parent = nullptr);
    ~BrowserView() override;

    /// Pages up to this size in UTF-8 are loaded as data; larger ones are served from memory.
    static constexpr qsizetype MaximumInlinePage = 512 * 1024;

    /// The delegate is not owned; it must outlive the view or be reset first.
    void setNavigationDelegate(NavigationDelegate *delegate);
    NavigationDelegate *navigationDelegate() const { return m_delegate; }

    /// The colour the page shows where it paints nothing, kept for a page made later.
    void setPageBackgroundColor(const QColor &color);

    /// Loads a page from a string with no base address.
    void loadHTMLString(const QString &html);

    /**
     * Starts the browser engine, this view's page and its renderer ahead of the first load, so
     * that load does not wait for them: the view loads an empty document, whose navigation its
     * delegate is not asked about. It runs from the event loop, in one go, once the view's
     * parent has next been painted (or, should it not be, half a second later with its window
     * on screen), so the frame being shown does not wait for it. Does nothing once
     * the view has loaded or is loading a page, or if its parent is hidden by then.
     */
    void prepare();

    /// The view's page, made on first use.
    QWebEnginePage *page();
    void load(const QUrl &url);
    void setHtml(const QString &html, const QUrl &baseUrl = QUrl());
    /// Stops a load; a view that has no page yet has nothing to stop.
    void stop();

Q_SIGNALS:
    /// A load of the view's page started, or ended as it ended (its page's own signal).
    void loadingChanged(const QWebEngineLoadingInfo &info);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    friend class BrowserPage;

    void ensurePage();
    void stopWatchingParent();
    void startPreparing();
    void warmUp();

    NavigationDelegate *m_delegate = nullptr;
    QWebEnginePage *m_page = nullptr;
    QColor m_pageBackground = Qt::white;
    QUrl m_servedPage;
    /// How far prepare() has gone.
    enum class WarmUp {
        None,      ///< not asked for, or given up
        Waiting,   ///< for the parent's next paint, or the fallback
        Given,     ///< the empty document is loading; the engine has not asked about it yet
        Done,      ///< the engine has asked about the empty document's navigation
    };
    WarmUp m_warmUp = WarmUp::None;
    QPointer<QWidget> m_watchedParent;
    QTimer m_prepareFallback;
    /// A load other than the warm-up has been asked for.
    bool m_loadRequested = false;
};

} // namespace pelbrook
