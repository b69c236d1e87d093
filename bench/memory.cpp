// The resident memory a presented checkout adds to the host's process, before pay and once the
// gateway's payment page has loaded, against a bare QTabWidget with four pages of as many plain
// widgets and one bare QWebEngineView loading the same page from the same loopback gateway.
//
// Usage: bench_memory checkout|bare [widgets per tab, as "a,b,c,d"]
// The bare view is also measured after loading an empty document out of sight ("bare-ready"),
// the state the checkout gets its own browser into while the buyer types.
// Each figure is the growth over the process as it was before the first widget, after a second
// of idling and with the allocator's free memory returned (malloc_trim). The browser engine's
// helper processes are reported apart ("-helpers", their proportional memory): they are not in
// the host's process.

#include "BareBrowser.h"
#include "BareTabs.h"
#include "BenchOrder.h"
#include "BenchSandbox.h"
#include "CheckoutHelpers.h"
#include "Measure.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTabWidget>
#include <QWebEngineView>
#include <QWindow>

#include <cstdio>
#include <malloc.h>

using namespace pelbrook;

namespace {

qint64 settledResidentKiB()
{
    bench::runEventsFor(1000);
    malloc_trim(0);
    return bench::residentKiB();
}

void report(const char *mode, const char *stage, qint64 baseKiB)
{
    const qint64 now = settledResidentKiB();
    bench::result(qPrintable(QStringLiteral("memory-%1-%2").arg(QLatin1String(mode), QLatin1String(stage))), double(now - baseKiB) / 1024.0, "MiB");
    bench::result(qPrintable(QStringLiteral("memory-%1-%2-helpers").arg(QLatin1String(mode), QLatin1String(stage))),
                  double(bench::descendantsProportionalKiB()) / 1024.0, "MiB");
}

// Runs the event loop until @p loaded holds; false when it did not in time.
bool waitFor(const std::shared_ptr<bool> &loaded)
{
    return bench::runEventsUntil([&] { return *loaded; }, 30000);
}

int measureCheckout(const SandboxProcess &sandbox, qint64 base)
{
    PGTabBarViewController container;
    bench::orderCheckout(container, QStringLiteral("BENCH1"), sandbox.token(bench::AppId, QStringLiteral("BENCH1"), bench::Amount));
    container.resize(390, 844);
    container.present();
    auto *view = container.findChild<pelbrook::BrowserView *>(QStringLiteral("cardWebView"));
    if (!view)
        return 1;
    // Measured once the checkout has its browser ready, as it is when the buyer pays.
    bool ready = false;
    QObject::connect(view, &pelbrook::BrowserView::loadFinished, view, [&] { ready = true; });
    if (!bench::runEventsUntil([&] { return ready; }, 30000))
        return 1;
    report("checkout", "presented", base);
    fillCardDetails(&container);
    auto *pay = container.findChild<QAbstractButton *>(QStringLiteral("cardPayButton"));
    if (!pay)
        return 1;
    const std::shared_ptr<bool> loaded = bench::watchForGatewayPage(view);
    pay->click();
    if (!waitFor(loaded))
        return 1;
    report("checkout", "page", base);
    return 0;
}

int measureBare(const SandboxProcess &sandbox, qint64 base, const QList<int> &counts)
{
    const std::unique_ptr<QTabWidget> bare = bench::bareTabs(counts);
    QTabWidget &tabs = *bare;
    // The view waits hidden on the first page, as a payment screen's does.
    auto *view = new QWebEngineView(tabs.widget(0));
    view->hide();
    bench::trustSandbox(view->page(), sandbox);
    tabs.resize(390, 844);
    tabs.show();
    report("bare", "presented", base);
    // The state a checkout gets its browser into while the buyer types: an empty document
    // loaded out of sight.
    bool ready = false;
    const auto readiness = QObject::connect(view, &QWebEngineView::loadFinished, view, [&] { ready = true; });
    view->setHtml(bench::EmptyPage);
    if (!bench::runEventsUntil([&] { return ready; }, 30000))
        return 1;
    QObject::disconnect(readiness);
    report("bare", "ready", base);

    view->setGeometry(tabs.widget(0)->rect());
    view->show();
    const std::shared_ptr<bool> loaded = bench::watchForGatewayPage(view);
    view->setHtml(bench::cardPaymentPage(sandbox, QStringLiteral("BENCH1")));
    if (!waitFor(loaded))
        return 1;
    report("bare", "page", base);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode != QLatin1String("checkout") && mode != QLatin1String("bare")) {
        std::fprintf(stderr, "usage: bench_memory checkout|bare [widgets per tab]\n");
        return 2;
    }
    const QList<int> counts = bench::widgetCounts(argc > 2 ? argv[2] : "31,5,5,5");
    bench::silenceLibraryLog();
    // The sandbox keeps the gateway's page on screen: the buyer has not answered it yet.
    SandboxProcess sandbox;
    if (!bench::useSandbox(sandbox, "bench_memory"))
        return 1;
    const qint64 base = settledResidentKiB();
    return mode == QLatin1String("checkout") ? measureCheckout(sandbox, base) : measureBare(sandbox, base, counts);
}
