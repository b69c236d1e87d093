#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class QAbstractButton;
class QWidget;

namespace pelbrook {

class NavigationController;
class TabBarController;
class ViewControllerPrivate;

/**
 * @headerfile ViewController.h <pelbrook/ViewController.h>
 * A button in a screen's navigation bar: an image (or a title when there is no image) and an
 * action. The checkout's screens use one for their close button.
 *
 * Its members and their order are frozen within a minor release: a member is added only in a
 * new minor release, for which hosts are rebuilt (see Version.h).
 */
struct PELBROOK_EXPORT BarButtonItem {
    /// The button's image, drawn at most 28 by 28; when null the title is shown instead.
    QImage image;
    /// The text shown when there is no image; always the button's accessible name and tool tip
    /// ("Close" when empty).
    QString title;
    /// The button's `objectName`, for tests and automation (`closeButton` on the checkout).
    QString objectName;
    /// Called with the pressed button, on the GUI thread.
    std::function<void(QAbstractButton *sender)> action;
};

/**
 * @headerfile ViewController.h <pelbrook/ViewController.h>
 * What a tab shows for its screen, above the screen's title. An image that must keep its own
 * colours sets `imageAlwaysOriginal`; the others are tinted by the tab bar, like template
 * images (grey, or blue when selected).
 *
 * Its members and their order are frozen within a minor release: a member is added only in a
 * new minor release, for which hosts are rebuilt (see Version.h).
 */
struct PELBROOK_EXPORT TabBarItem {
    /// The icon of the tab when it is not selected.
    QImage image;
    /// The icon of the selected tab, always tinted.
    QImage selectedImage;
    /// Draws `image` in its own colours instead of tinting it.
    bool imageAlwaysOriginal = false;
};

/**
 * @headerfile ViewController.h <pelbrook/ViewController.h>
 * A screen: owns a root view that is built on first display and told when it is about to
 * appear and disappear. Subclasses build their content in viewDidLoad().
 *
 * This is the base of the four payment screens; a host meets it through them and rarely needs
 * it otherwise. The root view is named after the class (its `objectName` is the class name
 * without the namespace) and draws its text black on white, whatever the host application's
 * palette. A screen usually lives inside a navigation wrapper in a tab container, which own it;
 * destroying the screen destroys its root view too. GUI thread only.
 */
class PELBROOK_EXPORT ViewController : public QObject
{
    Q_OBJECT
public:
    /// Creates the screen without its view; @p parent owns it, as for any QObject.
    explicit ViewController(QObject *parent = nullptr);
    /// Destroys the screen and its root view, wherever the view sits.
    ~ViewController() override;

    /// The root view, built (and viewDidLoad() run) on the first call. The screen owns it. A
    /// screen in a tab puts it into the tab as it is built, whether the tab's first showing or
    /// an earlier call asks for it first.
    QWidget *view();
    /// Whether the root view has been built.
    bool isViewLoaded() const;
    /// The size the root view gets when it is built; set by the enclosing container.
    void setInitialViewSize(const QSize &size);

    /// The screen's title, shown in its navigation bar and on its tab.
    QString title() const;
    /// Sets the title; emits titleChanged() when it differs.
    void setTitle(const QString &title);

    /// The button at the left of the screen's navigation bar.
    const BarButtonItem &leftBarButtonItem() const;
    /// Replaces the left bar button; emits leftBarButtonItemChanged(), and the navigation bar
    /// makes a new button. An item without image, title or action removes the button.
    void setLeftBarButtonItem(const BarButtonItem &item);

    /// What the screen's tab shows.
    const TabBarItem &tabBarItem() const;
    /// Sets what the screen's tab shows. A tab container reads it when it installs its tabs and
    /// when the title changes, so set it before the screen is added.
    void setTabBarItem(const TabBarItem &item);

    /// The navigation wrapper the screen is in, or null. The wrapper is internal to the
    /// library: a host can only compare the pointer.
    NavigationController *navigationController() const;
    /// The tab container the screen is in, or null.
    TabBarController *tabBarController() const;

    /// Closes whatever presented this screen's container (or the screen's own window).
    void dismiss();

    /// Called by the containers as the screen is shown: builds the view if needed, then runs
    /// viewWillAppear(). Not for hosts to call.
    void beginAppearance();
    /// Called by the containers once the screen is shown: runs viewDidAppear().
    void endAppearance();
    /// Called by the containers as the screen is hidden: runs viewWillDisappear() when the
    /// view has been built.
    void beginDisappearance();

Q_SIGNALS:
    /// The title changed to @p title.
    void titleChanged(const QString &title);
    /// setLeftBarButtonItem() was called.
    void leftBarButtonItemChanged();

protected:
    /// For subclasses: builds the screen's content into view(); runs once, on the first
    /// view() call.
    virtual void viewDidLoad() {}
    /// For subclasses: runs each time the screen is about to be shown.
    virtual void viewWillAppear() {}
    /// For subclasses: runs after the screen has been shown, on the next turn of the event
    /// loop.
    virtual void viewDidAppear() {}
    /// For subclasses: runs when the shown screen is about to be hidden.
    virtual void viewWillDisappear() {}

private:
    friend class ViewControllerPrivate;
    std::unique_ptr<ViewControllerPrivate> const d;
};

} // namespace pelbrook
