#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QColor>
#include <QList>
#include <QWidget>

#include <memory>

class QTabBar;

namespace pelbrook {

class NavigationController;
class TabBarControllerPrivate;

/**
 * A tab container: one navigation wrapper per tab, a tab bar (object name `tabBar`) at the
 * bottom with each screen's title and icons, and lazy loading: a screen's view is built the
 * first time its tab is shown.
 *
 * present() shows the container: as its own window, or, when it has a parent, as a window over
 * the parent's window. However it closes (dismiss(), hide(), close(), the window's close
 * button, Escape), it is hidden and dismissed() is emitted once; shown again, it builds its
 * tabs afresh. Main thread only.
 */
class PELBROOK_EXPORT TabBarController : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TabBarHeight = 56;

    explicit TabBarController(QWidget *parent = nullptr);
    ~TabBarController() override;

    /// Replaces the tabs; the container takes ownership of the wrappers.
    void setViewControllers(const QList<NavigationController *> &controllers);
    QList<NavigationController *> viewControllers() const;

    /// The selected tab, from 0.
    int selectedIndex() const;
    void setSelectedIndex(int index);

    /// The tab bar (object name `tabBar`).
    QTabBar *tabBar() const;
    void setTabBarHidden(bool hidden);
    bool isTabBarHidden() const;
    void setBarTintColor(const QColor &color);
    QColor barTintColor() const;
    void setTranslucent(bool translucent);
    bool isTranslucent() const;

    /// Shows the container and raises it: over the parent's window when it has a parent, at a
    /// phone-like size that fits the screen unless the host has sized it. Its tabs are built
    /// before it is first shown, and again when it is shown after a dismissal.
    virtual void present();
    /// Closes the container.
    void dismiss();
    /// Builds the tabs when needed before showing; hiding a shown container dismisses it.
    void setVisible(bool visible) override;
    /// The size present() gives a container the host has not sized.
    QSize defaultSize() const;

Q_SIGNALS:
    /// After the container has closed, by any path.
    void dismissed();

protected:
    /// Called once, before the container is first shown; builds the tabs.
    virtual void viewDidLoad() {}
    void loadViewIfNeeded();
    /// Called after setViewControllers() has installed new tabs.
    virtual void viewControllersChanged() {}
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshTabs();
    void layoutChildren();
    void updateBarStyle();

    std::unique_ptr<TabBarControllerPrivate> const d;
};

} // namespace pelbrook
