#pragma once

#include <pelbrook/TabBarController.h>

#include <QColor>
#include <QList>

namespace pelbrook {

class NavigationController;

/// The height of a container's tab bar, in device-independent pixels.
inline constexpr int TabBarHeight = 56;

/// The library's own access to a container's tabs, whose wrapper type is internal.
namespace containerTabs {

/// Replaces @p container's tabs; it takes ownership of the wrappers and deletes the old ones
/// later.
void setViewControllers(TabBarController &container, const QList<NavigationController *> &controllers);
/// @p container's tab wrappers, in tab order; empty until the tabs are built.
QList<NavigationController *> viewControllers(const TabBarController &container);

/// Hides or shows the tab bar; the tabs' content takes its room. The payment screens hide it
/// while the gateway's pages are shown.
void setTabBarHidden(TabBarController &container, bool hidden);
bool isTabBarHidden(const TabBarController &container);
/// The tab bar's background colour; light grey (248, 248, 248) at first.
void setBarTintColor(TabBarController &container, const QColor &color);
QColor barTintColor(const TabBarController &container);
/// A translucent bar draws its background colour slightly transparent (the default); an opaque
/// one draws it as it is.
void setTranslucent(TabBarController &container, bool translucent);
bool isTranslucent(const TabBarController &container);

} // namespace containerTabs

} // namespace pelbrook
