#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QList>
#include <QWidget>

#include <memory>

class QTabBar;

namespace pelbrook {

class TabBarControllerPrivate;

/**
 * @headerfile TabBarController.h <pelbrook/TabBarController.h>
 * A tab container with its tab bar along the bottom edge.
 *
 * It holds one navigation wrapper per tab and a tab bar (object name `tabBar`) at the bottom
 * with each screen's title and icons, and loads lazily: a screen's view is built the first time
 * its tab is shown.
 *
 * present() shows the container: as its own window, or, when it has a parent, as a window over
 * the parent's window. However a container that is a window closes (dismiss(), hide(), close(),
 * the window's close button, Escape), it is hidden and dismissed() is emitted once; shown again,
 * it builds its tabs afresh. With Qt::WA_DeleteOnClose set, closing it also deletes it.
 *
 * Instead, it can be embedded as a child widget, for instance as a page of the host's
 * QStackedWidget: hiding it (as a stack does when it shows another page) then keeps everything
 * as it is, and only closing it (dismiss(), close(), Escape, a close button, the payment's end)
 * hides it for good and emits dismissed(). Do not present() a container that sits in a layout
 * or a stack: it would become a window the layout still hides and shows.
 *
 * This is the base of PGTabBarViewController, the checkout a host presents; its tab wrappers are
 * internal to the library. GUI thread only.
 */
class PELBROOK_EXPORT TabBarController : public QWidget
{
    Q_OBJECT
    /// The selected tab, from 0; -1 while there are no tabs.
    Q_PROPERTY(int selectedIndex READ selectedIndex WRITE setSelectedIndex NOTIFY selectedIndexChanged)
public:
    /// Creates an empty, hidden container; @p parent, if any, owns it, and present() then shows
    /// it over the parent's window.
    explicit TabBarController(QWidget *parent = nullptr);
    /// Destroys the container and its tabs.
    ~TabBarController() override;

    /// The selected tab, from 0; -1 while there are no tabs.
    int selectedIndex() const;
    /// Selects the tab at @p index. Ignored when there is no such tab, as before the tabs are
    /// built: select a tab after present().
    void setSelectedIndex(int index);

    /// The tab bar (object name `tabBar`).
    QTabBar *tabBar() const;

    /// Shows the container, raises and activates it. With a parent, it is a window-modal dialog
    /// centred over the parent's window (kept on its screen); without one, a window of its own.
    /// Unless the host has resized it, it takes defaultSize(). Its tabs are built before it is
    /// first shown, and again when it is shown after a dismissal. Called while a dismissal is
    /// still being reported (from a dismissed() handler), it shows the container once that
    /// has finished.
    virtual void present();
    /// Closes the container, as its window's close button does: dismissed() follows.
    void dismiss();
    /// Builds the tabs when needed before showing. Hiding a container that is a window, or one
    /// being closed, dismisses it; hiding an embedded one only hides it.
    void setVisible(bool visible) override;
    /// The size present() gives a container the host has not sized: a dialog's 480 by 760, or
    /// less to fit the screen's available area, down to minimumSizeHint().
    QSize defaultSize() const;
    /// 320 by 480: below it the screens scroll, and their controls get too small to use. A
    /// presented container keeps at least this size (or the screen's room, if that is less).
    QSize minimumSizeHint() const override;
    /// defaultSize(), for a host's layout that asks.
    QSize sizeHint() const override;
    /// The widest the tabs and their bars grow: in a wider container they are one panel of
    /// this width, centred on a quiet backdrop.
    static constexpr int PanelWidth = 480;

Q_SIGNALS:
    /// After the container has closed, by any path, once per showing. A connected slot may
    /// present the container again (with Qt::WA_DeleteOnClose set, it is then kept, and deleted
    /// on its next close); to destroy it, use deleteLater() or Qt::WA_DeleteOnClose.
    void dismissed();
    /// The selected tab changed to @p index: the buyer chose another tab, setSelectedIndex() chose
    /// one, or the tabs were built or removed (once, with where the selection ended).
    void selectedIndexChanged(int index);

protected:
    /// For subclasses: builds the tabs. Runs before the container is first shown, and again
    /// before it is shown after a dismissal.
    virtual void viewDidLoad() {}
    /// Runs viewDidLoad() unless it has run since the container was last dismissed.
    void loadViewIfNeeded();
    /// For subclasses: runs after new tabs have been installed.
    virtual void viewControllersChanged() {}
    /// For subclasses: runs as the container closes, hidden already, just before dismissed().
    virtual void aboutToDismiss() {}
    /// Notes an accepted close, which the hiding that follows turns into a dismissal.
    void closeEvent(QCloseEvent *event) override;
    /// Centres the panel of tabs and bars.
    void resizeEvent(QResizeEvent *event) override;
    /// Paints the backdrop beside the panel.
    void paintEvent(QPaintEvent *event) override;
    /// Takes the activation back from the host's window it blocks.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TabBarControllerPrivate;
    std::unique_ptr<TabBarControllerPrivate> const d;
};

} // namespace pelbrook
