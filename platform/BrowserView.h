#pragma once

#include <QUrl>
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

    /// Loads a page from a string with no base address.
    void loadHTMLString(const QString &html);

private:
    NavigationDelegate *m_delegate = nullptr;
    QUrl m_servedPage;
};

} // namespace pelbrook
