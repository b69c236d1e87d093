// How fast the checkout opens: from constructing the container to the first painted frame of
// the Cards tab, against a bare QTabWidget with four pages holding as many plain widgets as
// the checkout's tabs hold when that frame is painted.
//
// Usage: bench_opening checkout [openings, default 20]
//        bench_opening bare [openings] [widgets per tab, as "a,b,c,d"]
//   checkout  the container, configured with an order and presented; also prints how many
//             widgets each tab held at its first frame ("widgets per tab: a,b,c,d")
//   bare      the bare tab widget with those counts (bench/run passes them on)
// The first opening of a process is reported as "open-<mode>-first", the later ones as
// "open-<mode>"; "open-<mode>-first-longest-stall" is the longest the event loop then stood still in the next
// 1.5 s (while the checkout's browser gets ready), which is how long input could have waited.

#include "BareTabs.h"
#include "BenchOrder.h"
#include "FrameWatch.h"
#include "Measure.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QStackedWidget>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace pelbrook;

namespace {

const QSize WindowSize(390, 844);

// The longest the event loop stands still in the 1.5 s after a first frame (the checkout gets its
// browser ready then), which is how long a keystroke or a click could have waited.
void reportStall(const char *mode, qint64 frameNs)
{
    // The wait for the frame to be noticed counts: the loop may have stood still since.
    const double sinceFrame = double(bench::nowNs() - frameNs) / 1e6;
    bench::result(qPrintable(QStringLiteral("open-") + QLatin1String(mode) + QStringLiteral("-first-longest-stall")),
                  std::max(sinceFrame, bench::longestStallMs(1500)), "ms");
}

// The widgets each tab of a presented checkout holds (the tab's page counts itself), without
// the browser engine's own widget, which the browser view gets once it is made ready.
QString widgetCounts(const PGTabBarViewController &container)
{
    QStringList counts;
    if (auto *stack = container.findChild<QStackedWidget *>()) {
        for (int i = 0; i < stack->count(); ++i) {
            const QList<QWidget *> widgets = stack->widget(i)->findChildren<QWidget *>();
            const auto ours = std::count_if(widgets.begin(), widgets.end(), [](QWidget *w) {
                return !w->parentWidget() || !w->parentWidget()->inherits("QWebEngineView");
            });
            counts << QString::number(ours + 1);
        }
    }
    return counts.join(QLatin1Char(','));
}

double openCheckout(bench::FrameWatch &app, bool first)
{
    const qint64 start = bench::nowNs();
    PGTabBarViewController container;
    container.resize(WindowSize);
    app.watch([&] { return container.findChild<QWidget *>(QStringLiteral("cardViewController")); });
    container.present();
    if (!bench::runEventsUntil([&] { return app.frameNs() != 0; }, 10000))
        return -1;
    const double ms = double(app.frameNs() - start) / 1e6;
    if (first) {
        std::printf("widgets per tab: %s\n", qPrintable(widgetCounts(container)));
        reportStall("checkout", app.frameNs());
    }
    return ms;
}

double openBare(bench::FrameWatch &app, const QList<int> &counts, bool firstOfProcess)
{
    const qint64 start = bench::nowNs();
    const std::unique_ptr<QTabWidget> bare = bench::bareTabs(counts);
    QTabWidget &tabs = *bare;
    QWidget *first = tabs.widget(0);
    tabs.resize(WindowSize);
    app.watch([first] { return first; });
    tabs.show();
    if (!bench::runEventsUntil([&] { return app.frameNs() != 0; }, 10000))
        return -1;
    const double ms = double(app.frameNs() - start) / 1e6;
    if (firstOfProcess)
        reportStall("bare", app.frameNs());
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    bench::FrameWatch app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    const int openings = argc > 2 ? qMax(1, std::atoi(argv[2])) : 20;
    if (mode != QLatin1String("checkout") && mode != QLatin1String("bare")) {
        std::fprintf(stderr, "usage: bench_opening checkout|bare [openings]\n");
        return 2;
    }
    bench::silenceLibraryLog();
    {
        PGTabBarViewController configuring;
        bench::configureCheckout(configuring);
        bench::orderCheckout(configuring, QStringLiteral("BENCH1"));
    }
    const QList<int> counts = bench::widgetCounts(argc > 3 ? argv[3] : "31,5,5,5");
    for (int n = 1; n <= openings; ++n) {
        // Whatever a closed checkout left to the engine settles first, as it would between buyers.
        bench::runEventsFor(1000);
        const double ms = mode == QLatin1String("bare") ? openBare(app, counts, n == 1) : openCheckout(app, n == 1);
        if (ms < 0)
            return 1;
        bench::result(qPrintable(QStringLiteral("open-") + mode + (n == 1 ? QStringLiteral("-first") : QString())), ms, "ms");
        QCoreApplication::processEvents();
    }
    return 0;
}
