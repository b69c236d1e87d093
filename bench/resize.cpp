// How fast the checkout follows a live resize of a full-HD window: from the resize to the
// painted frame, on each tab, as a buyer dragging a kiosk's or desktop's window edge sees it.
//
// Usage: bench_resize [resizes per tab, default 100]
// Each tab is shown at 1920 x 1080 and resized back and forth by up to 40 pixels each way, one
// size per step (every step lays the screen out again). Reports "resize-<tab>" (the median, ms)
// and "resize-<tab>-worst" (the longest, ms); one frame at 60 Hz is 16.7 ms.

#include "BenchOrder.h"
#include "FrameWatch.h"
#include "Measure.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QStackedWidget>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace pelbrook;

int main(int argc, char **argv)
{
    bench::FrameWatch app(argc, argv);
    const int resizes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    bench::silenceLibraryLog();
    PGTabBarViewController container;
    bench::configureCheckout(container);
    bench::orderCheckout(container, QStringLiteral("BENCH-RESIZE"));
    const QSize full(1920, 1080);
    container.resize(full);
    container.present();
    if (!bench::waitUntilExposed(&container))
        return 1;
    const char *const tabs[] = {"cards", "netbanking", "wallets", "upi"};
    for (int tab = 0; tab < 4; ++tab) {
        container.setSelectedIndex(tab);
        container.resize(full);
        // The tab's first showing builds it: that is opening, not resizing.
        bench::runEventsFor(300);
        auto *stack = container.findChild<QStackedWidget *>();
        QWidget *page = stack ? stack->currentWidget() : nullptr;
        if (!page)
            return 1;
        std::vector<double> samples;
        for (int i = 0; i < resizes; ++i) {
            // Out by 40 pixels and back, one step at a time, as a drag does.
            const int phase = i % 80;
            const int offset = phase < 40 ? phase + 1 : 79 - phase;
            const qint64 start = bench::nowNs();
            app.watch([page] { return page; });
            container.resize(full - QSize(offset, offset / 2));
            if (!bench::runEventsUntil([&] { return app.frameNs() != 0; }, 5000))
                return 1;
            samples.push_back(double(app.frameNs() - start) / 1e6);
        }
        const double worst = *std::max_element(samples.begin(), samples.end());
        bench::result(qPrintable(QStringLiteral("resize-%1").arg(QLatin1String(tabs[tab]))), bench::median(samples), "ms");
        bench::result(qPrintable(QStringLiteral("resize-%1-worst").arg(QLatin1String(tabs[tab]))), worst, "ms");
    }
    return 0;
}
