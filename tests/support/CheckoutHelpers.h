#pragma once

// Small helpers the screen and container tests share.

#include "platform/NavigationController.h"

#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/ResultDelegate.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTabBar>
#include <QTest>
#include <QUrl>
#include <QWidget>

/// A phone-sized container: a 390 x 844 screen below the navigation bar and above the tab bar.
inline const QSize Phone(390, 844 + pelbrook::NavigationController::BarHeight + pelbrook::TabBarController::TabBarHeight);

/// Points the library at loopback ports where nothing listens: a test that never reaches the
/// gateway or the bank list fails to reach them at once, with no name lookup.
inline void useUnreachableEndpoints()
{
    pelbrook::Endpoints endpoints;
    endpoints.testGateway = QUrl(QStringLiteral("https://127.0.0.1:9"));
    endpoints.productionGateway = QUrl(QStringLiteral("https://127.0.0.1:7"));
    endpoints.bankList = QUrl(QStringLiteral("http://127.0.0.1:9/pg/iosbanks.json"));
    pelbrook::setEndpoints(endpoints);
}

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

/// A click (a tap) where row @p row of the grid or list @p view is drawn.
inline void clickItem(QAbstractItemView *view, int row)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

/// The names a screen reader gives the items of @p view, in order.
inline QStringList itemNames(const QAbstractItemView *view)
{
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        names << view->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
    return names;
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

/// Fills the card form under @p root with a test card that the sandbox approves, as the demo
/// does (the expiry fields take their text from a picker, so it is inserted, not typed).
inline void fillCardDetails(QWidget *root)
{
    const QList<QPair<const char *, QString>> fields = {
        {"cardNumberTextField", QStringLiteral("4111111111111111")}, {"cardHolderNameTextField", QStringLiteral("Asha Rao")},
        {"cardExpiryMonthTextField", QStringLiteral("12")}, {"cardExpiryYearTextField", QStringLiteral("30")},
        {"cardCvcTextField", QStringLiteral("123")}};
    for (const auto &[name, text] : fields) {
        if (auto *field = root->findChild<QLineEdit *>(QLatin1String(name))) {
            field->setFocus();
            field->insert(text);
        }
    }
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
