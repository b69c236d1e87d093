#pragma once

// The bare Qt widgets the checkout's opening and memory are measured against.

#include <QList>
#include <QString>
#include <QTabWidget>
#include <QWidget>

#include <memory>

namespace bench {

/// A tab widget with one page per count, each page holding that many plain widgets (the page
/// counts itself), spread over it as a screen's views are.
inline std::unique_ptr<QTabWidget> bareTabs(const QList<int> &widgetsPerTab)
{
    auto tabs = std::make_unique<QTabWidget>();
    for (int i = 0; i < widgetsPerTab.size(); ++i) {
        auto *page = new QWidget;
        for (int w = 1; w < widgetsPerTab[i]; ++w)
            (new QWidget(page))->setGeometry((w * 37) % 300, (w * 53) % 700, 60, 30);
        tabs->addTab(page, QStringLiteral("Tab %1").arg(i + 1));
    }
    return tabs;
}

/// Widget counts as the benchmarks take them on the command line: "a,b,c,d".
inline QList<int> widgetCounts(const char *argument)
{
    QList<int> counts;
    for (const QString &count : QString::fromLatin1(argument).split(QLatin1Char(',')))
        counts << qMax(1, count.toInt());
    return counts;
}

} // namespace bench
