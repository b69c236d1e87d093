#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>

class QAbstractButton;

namespace pelbrook {

class NavigationController;
class TabBarController;

/// The background of a bar: its tint colour, let through a little when translucent.
PELBROOK_EXPORT QString barBackground(const QColor &tint, bool translucent);

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
 * namespace). A screen usually lives inside a NavigationController, which owns it.
 */
class PELBROOK_EXPORT ViewController : public QObject
{
    Q_OBJECT
public:
    explicit ViewController(QObject *parent = nullptr);
    ~ViewController() override;

    /// The root view, built (and viewDidLoad() run) on the first call.
    QWidget *view();
    bool isViewLoaded() const { return !m_view.isNull(); }
    /// The size the root view gets when it is built; set by the enclosing container.
    void setInitialViewSize(const QSize &size) { m_initialViewSize = size; }

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    const BarButtonItem &leftBarButtonItem() const { return m_leftBarButtonItem; }
    void setLeftBarButtonItem(const BarButtonItem &item);

    const TabBarItem &tabBarItem() const { return m_tabBarItem; }
    void setTabBarItem(const TabBarItem &item) { m_tabBarItem = item; }

    NavigationController *navigationController() const;
    /// The tab container the screen is in, or null.
    TabBarController *tabBarController() const;

    /// Closes whatever presented this screen's container (or the screen's own window).
    void dismiss();

    // Called by the containers around the screen's appearance.
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
    QPointer<QWidget> m_view;
    QSize m_initialViewSize = QSize(390, 844);
    QString m_title;
    BarButtonItem m_leftBarButtonItem;
    TabBarItem m_tabBarItem;
};

} // namespace pelbrook
