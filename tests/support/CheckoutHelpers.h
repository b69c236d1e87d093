#pragma once

// Small helpers the screen and container tests share.

#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/ResultDelegate.h>

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

/// A host's delegate that records every result it is given.
class CountingDelegate : public pelbrook::ResultDelegate
{
public:
    void onPaymentResult(const QString &result) override { results << result; }
    QStringList results;
};

/// Where @p w lies in @p root's coordinates.
inline QRect inRoot(QWidget *w, QWidget *root)
{
    return QRect(w->mapTo(root, QPoint(0, 0)), w->size());
}

/// The first value of the form field @p name, or "<absent>".
inline QString formValue(const QList<QPair<QString, QString>> &form, const QString &name)
{
    for (const auto &[n, v] : form) {
        if (n == name)
            return v;
    }
    return QStringLiteral("<absent>");
}

/// The index of the tab titled @p title, or -1.
inline int tabIndex(pelbrook::PGTabBarViewController &container, const QString &title)
{
    for (int i = 0; i < container.tabBar()->count(); ++i) {
        if (container.tabBar()->tabText(i) == title)
            return i;
    }
    return -1;
}
