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

/// A button in a navigation bar: an image (or a title when there is no image) and an action.
struct PELBROOK_EXPORT BarButtonItem {
    QImage image;
    QString title;
    QString objectName;
    /// Called with the pressed button.
    std::function<void(QAbstractButton *sender)> action;
};

/// What a tab shows for its screen. An image that must keep its own colours sets
/// `imageAlwaysOriginal`; the others are tinted by the tab bar, like template images.
struct PELBROOK_EXPORT TabBarItem {
    QImage image;
    QImage selectedImage;
    bool imageAlwaysOriginal = false;
};

/**
 * A screen: owns a root view that is built on first display and told when it is about to
 * appear and disappear. Subclasses build their content in viewDidLoad().
 *
 * The root view is named after the class (its `objectName` is the class name without the
 * namespace) and draws its text black on white, whatever the host application's palette. A
 * screen usually lives inside a navigation wrapper in a tab container, which own it.
 * Main thread only.
 */
class PELBROOK_EXPORT ViewController : public QObject
{
    Q_OBJECT
public:
    explicit ViewController(QObject *parent = nullptr);
    ~ViewController() override;

    /// The root view, built (and viewDidLoad() run) on the first call.
    QWidget *view();
    bool isViewLoaded() const;
    /// The size the root view gets when it is built; set by the enclosing container.
    void setInitialViewSize(const QSize &size);

    QString title() const;
    void setTitle(const QString &title);

    const BarButtonItem &leftBarButtonItem() const;
    void setLeftBarButtonItem(const BarButtonItem &item);

    const TabBarItem &tabBarItem() const;
    void setTabBarItem(const TabBarItem &item);

    /// The navigation wrapper the screen is in, or null.
    NavigationController *navigationController() const;
    /// The tab container the screen is in, or null.
    TabBarController *tabBarController() const;

    /// Closes whatever presented this screen's container (or the screen's own window).
    void dismiss();

    /// Called by the containers around the screen's appearance.
    void beginAppearance();
    void endAppearance();
    void beginDisappearance();

Q_SIGNALS:
    void titleChanged(const QString &title);
    void leftBarButtonItemChanged();

protected:
    virtual void viewDidLoad() {}
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}
    virtual void viewWillDisappear() {}

private:
    std::unique_ptr<ViewControllerPrivate> const d;
};

} // namespace pelbrook
