#pragma once

#include "platform/web/PageDialog.h"
#include "platform/Translations_p.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWidget>

class QWebEngineView;

namespace pelbrook {

class BrowserPage;
class BrowserView;

/// Asked before every navigation of a BrowserView that its guard lets through: the view's own
/// page, the gateway's secure pages in the main frame and in sub-frames, and the hand-back in
/// the main frame. Runs on the main thread.
class NavigationDelegate
{
public:
    virtual ~NavigationDelegate() = default;
    /// Returns whether the navigation to @p url may go ahead.
    virtual bool shouldStartLoad(BrowserView *view, const QUrl &url, QWebEnginePage::NavigationType type) = 0;
};

/**
 * The embedded browser that runs the gateway's pages: a page of the library's on a profile of
 * its own (off the record, nothing kept on disk, nothing shared with another page), shown in a
 * QWebEngineView that exists only with that page, so no path gives it any other.
 *
 * Its guard lets the page load only the gateway's kind of page: `https` pages, the documents
 * such pages make for their frames (`about:blank`, `about:srcdoc`, `blob:`, `data:`), the
 * view's own page and the hand-back in the main frame. Everything else (plain HTTP, other
 * programs' schemes, local files, a hand-back from a frame) is refused and noted in the debug
 * log; what the guard lets through is then put to the navigation delegate. TLS errors are never
 * accepted, except for the certificate pinned in the endpoints. Dialogs the page opens are
 * shown inside the view (PageDialog), at most DialogsPerPage for each page it navigates to.
 * Windows, file choosers, downloads and permissions are refused.
 *
 * The page, and the process its browser engine, are made only when first needed: when the
 * view loads, is prepared, or page() is asked for. Starting the engine holds the main thread
 * for a long moment, and a screen that is never paid from need never pay for it.
 */
class BrowserView : public QWidget
{
    Q_OBJECT
public:
    explicit BrowserView(QWidget *parent = nullptr);
    ~BrowserView() override;

    /// Pages up to this size in UTF-8 are loaded as data; larger ones are served from memory.
    static constexpr qsizetype MaximumInlinePage = 512 * 1024;
    /// Dialogs a page may open; past them, until the page navigates, they are answered as
    /// cancelled without being shown, as browsers let the buyer silence a page.
    static constexpr int DialogsPerPage = 3;

    /// The delegate is not owned; it must outlive the view or be reset first.
    void setNavigationDelegate(NavigationDelegate *delegate);

    /// The colour the page shows where it paints nothing, kept for a page made later.
    void setPageBackgroundColor(const QColor &color);

    /// Loads a page from a string with no base address.
    void loadHTMLString(const QString &html);

    /**
     * Starts the browser engine, this view's page and its renderer ahead of the first load, so
     * that load does not wait for them: the view loads an empty document, whose navigation its
     * delegate is not asked about, and which opens a connection to @p origin, if given, for
     * the load to come. It runs from the event loop, in one go, once the view's parent has next
     * been painted (or, should it not be, half a second later with its window on screen), so
     * the frame being shown does not wait for it. Does nothing once the view has loaded or is
     * loading a page, or if its parent is hidden by then.
     */
    void prepare(const QUrl &origin = QUrl());

    /// The view's page, made on first use.
    QWebEnginePage *page();
    /// Whether the view has a page now.
    bool hasPage() const { return m_page != nullptr; }
    /// The engine's view of the page; null while the view has none.
    QWebEngineView *engineView() const { return m_engine; }
    /// The page's address and title; empty without a page.
    QUrl url() const;
    QString title() const;
    /// Stops a load; a view that has no page has nothing to stop.
    void stop();
    /**
     * Ends the page at once: its dialogs close as cancelled, it loads and runs nothing more,
     * and it goes, with its profile and everything the profile kept. A later load gets a new
     * page on a new profile.
     */
    void closePage();

    /// The dialog the page has open, if any (the innermost, when one opened another).
    PageDialog *openDialog() const;

Q_SIGNALS:
    /// A load of the view's page started, or ended as it ended (its page's own signal).
    void loadingChanged(const QWebEngineLoadingInfo &info);
    /// A load of the page ended, successfully or not.
    void loadFinished(bool ok);
    /// The guard refused a navigation of the page to @p url (see the class comment).
    void navigationRefused(const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame);
    /// The page's renderer process ended (crashed, was killed, or ran out of memory), or
    /// ended normally.
    void renderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class BrowserPage;

    void ensurePage();
    void stopWatchingParent();
    void startPreparing();
    void warmUp();
    /// The guard, then the delegate; see the class comment.
    bool acceptNavigation(const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame);
    bool runDialog(PageDialog::Kind kind, const QString &message, const QString &defaultValue, QString *result);
    void closeDialogs();

    /// The language the view was made in, for the dialogs' buttons.
    const Language m_language = currentLanguage();
    NavigationDelegate *m_delegate = nullptr;
    BrowserPage *m_page = nullptr;
    QWebEngineView *m_engine = nullptr;
    QColor m_pageBackground = Qt::white;
    QUrl m_servedPage;
    /// The scheme of the view's own page while its load is awaited ("data" or the served
    /// page's); empty otherwise.
    QString m_ownPageScheme;
    /// How far prepare() has gone.
    enum class WarmUp {
        None,      ///< not asked for, or given up
        Waiting,   ///< for the parent's next paint, or the fallback
        Given,     ///< the empty document is loading; the engine has not asked about it yet
        Done,      ///< the engine has asked about the empty document's navigation
    };
    WarmUp m_warmUp = WarmUp::None;
    QUrl m_preconnect;
    QPointer<QWidget> m_watchedParent;
    QTimer m_prepareFallback;
    /// A load other than the warm-up has been asked for.
    bool m_loadRequested = false;
    /// Dialogs the page has opened since it last navigated its main frame.
    int m_dialogsShown = 0;
    QList<QPointer<PageDialog>> m_dialogs;
    /// Pages closed while the view lives, until they are gone.
    QList<QPointer<BrowserPage>> m_closedPages;
};

} // namespace pelbrook
