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
 * present() shows the container (as a window when it has no parent); dismiss() closes it and
 * emits dismissed(), as does any other way of closing it. Main thread only.
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

    /// Shows the container; its tabs load on the first call.
    virtual void present();
    /// Closes the container.
    void dismiss();
    /// Builds the tabs (once) before the container is first shown.
    void setVisible(bool visible) override;

Q_SIGNALS:
    /// After the container has closed, by any path.
    void dismissed();

protected:
    /// Called once, before the container is first shown; builds the tabs.
    virtual void viewDidLoad() {}
    void loadViewIfNeeded();
    /// Called after setViewControllers() has installed new tabs.
    virtual void viewControllersChanged() {}
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshTabs();
    void layoutChildren();
    void updateBarStyle();

    std::unique_ptr<TabBarControllerPrivate> const d;
};

} // namespace pelbrook
