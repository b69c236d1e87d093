// Repeated showing: switch the checkout's tabs round and round, 1000 times, timing each switch
// to its painted frame, and compare the first hundred switches with the last hundred; and the
// resident memory before and after (each showing re-applies the screen's theme).
//
// Usage: bench_tab_switching [switches, default 1000]

#include "BenchOrder.h"
#include "FrameWatch.h"
#include "Measure.h"

#include "theme/ViewLayer.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QStackedWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

using namespace pelbrook;

namespace {

// The room for gradient layers every view of the checkout holds (a list grows ahead of its
// records).
qsizetype gradientLayers(const QWidget &container)
{
    qsizetype layers = 0;
    for (const QWidget *view : container.findChildren<QWidget *>()) {
        if (const ViewLayer *layer = ViewLayer::find(view))
            layers += layer->gradientLayers().capacity();
    }
    return layers;
}

} // namespace

int main(int argc, char **argv)
{
    bench::FrameWatch app(argc, argv);
    const int switches = argc > 1 ? qMax(200, std::atoi(argv[1])) : 1000;
    bench::silenceLibraryLog();

    PGTabBarViewController container;
    bench::presentCheckout(container, QStringLiteral("BENCH1"));
    auto *stack = container.findChild<QStackedWidget *>();
    if (!stack)
        return 1;
    // Every screen built once, so the first hundred time showings, not first builds.
    for (int i = 0; i < 8; ++i) {
        container.setSelectedIndex(i % 4);
        bench::runEventsFor(50);
    }
    malloc_trim(0);
    const qint64 before = bench::residentKiB();
    const qint64 heapBefore = bench::heapInUseKiB();
    const qsizetype layersBefore = gradientLayers(container);

    std::vector<double> samples;
    for (int i = 0; i < switches; ++i) {
        const int index = (i + 1) % 4;
        app.watch([stack, index] { return stack->widget(index); });
        const qint64 start = bench::nowNs();
        container.setSelectedIndex(index);
        if (!bench::runEventsUntil([&] { return app.frameNs() != 0; }, 10000))
            return 1;
        samples.push_back(double(app.frameNs() - start) / 1e6);
    }
    malloc_trim(0);
    const qint64 after = bench::residentKiB();
    const qint64 heapAfter = bench::heapInUseKiB();
    const qsizetype layersAdded = gradientLayers(container) - layersBefore;

    std::vector<double> first(samples.begin(), samples.begin() + 100);
    std::vector<double> last(samples.end() - 100, samples.end());
    bench::result("switch-first-100", bench::median(first), "ms");
    bench::result("switch-last-100", bench::median(last), "ms");
    bench::result("switch-memory-growth", double(after - before), "KiB");
    bench::result("switch-heap-growth", double(heapAfter - heapBefore), "KiB");
    // What the repeated theme is expected to keep: its gradient records, with the room their
    // lists hold.
    bench::result("switch-gradient-records", double(layersAdded) * double(sizeof(GradientLayer)) / 1024.0, "KiB");
    return 0;
}
