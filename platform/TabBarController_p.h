#pragma once

#include <pelbrook/TabBarController.h>

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

} // namespace containerTabs

} // namespace pelbrook
