#pragma once

#include "platform/web/PageDialog.h"

#include <QPointer>
#include <QWebEnginePage>

namespace pelbrook {

class BrowserView;

/**
 * The page of a BrowserView, on a profile of its own (see makePageProfile()). What the page's
 * scripts may do goes through its view: navigations, dialogs, windows, files and permissions.
 * A page whose view has gone, or that was closed, refuses everything.
 */
class BrowserPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit BrowserPage(BrowserView *view);
    ~BrowserPage() override;

    /// Cuts the page off from its view, for good: it then refuses every navigation and dialog.
    void detach();
    /// Whether a dialog of the page is waiting for the buyer, somewhere on the stack.
    bool inDialog() const { return m_dialogDepth > 0; }
    /// Deletes the page once no dialog of it is on the stack (at once, if none is).
    void release();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles, const QStringList &acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue, QString *result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;

private:
    void denyPermissions();
    bool runDialog(PageDialog::Kind kind, const QString &message, const QString &defaultValue, QString *result);

    QPointer<BrowserView> m_view;
    int m_dialogDepth = 0;
    bool m_released = false;
};

} // namespace pelbrook
