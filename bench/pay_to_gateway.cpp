// How long a buyer waits between pressing pay and the gateway receiving the form, against a
// bare QWebEngineView loading the same page to the same loopback gateway (the sandbox, which
// stamps each form's arrival on the machine's monotonic clock).
//
// Usage: bench_pay_to_gateway MODE [payments, default 5]
//   bare-fresh      a new bare view per payment: setHtml to the form's arrival
//   bare-ready      a new bare view per payment that loaded an empty page a second before (its
//                   engine and renderer started, as the checkout gets its own while the buyer
//                   types): setHtml to arrival
//   bare-warm       one bare view that has loaded the same page from the same gateway before
//                   (its connection and the certificate's acceptance kept too): setHtml to arrival
//   checkout-first  a checkout paid as soon as its first frame is painted: click to arrival
//   checkout-warm   a checkout paid after a second on screen: click to arrival
// Neither clock holds the browser engine's start, once per process: a bare view starts it when
// it is made, before its clock; the checkout just after its first frame, which holds the event
// loop, so even the quickest click is handled after it (bench_opening reports that stall).
// The first payment of a process is reported as "pay-<mode>-first", the later ones as "pay-<mode>"
// (a warm bare view's payments are never a process's first).

#include "BareBrowser.h"
#include "BenchOrder.h"
#include "BenchSandbox.h"
#include "CheckoutHelpers.h"
#include "FrameWatch.h"
#include "Measure.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QAbstractButton>
#include <QApplication>
#include <QWebEngineView>

#include <cstdio>
#include <memory>

using namespace pelbrook;

namespace {

std::unique_ptr<QWebEngineView> bareView(const SandboxProcess &sandbox)
{
    auto view = std::make_unique<QWebEngineView>();
    bench::trustSandbox(view->page(), sandbox);
    view->resize(390, 844);
    view->show();
    return view;
}

// The time from @p start to the form's arrival, in ms, once @p finished holds; -1 on failure
// (no new form arrived after @p start, or the gateway's answer did not come).
double msToArrival(const SandboxProcess &sandbox, qint64 start, const std::function<bool()> &finished)
{
    if (!bench::runEventsUntil(finished, 30000))
        return -1;
    const qint64 arrival = sandbox.lastCheckoutArrival();
    return arrival > start ? double(arrival - start) / 1e6 : -1;
}

double payWithBareView(QWebEngineView &view, const SandboxProcess &sandbox, int n)
{
    const QString html = bench::cardPaymentPage(sandbox, QStringLiteral("BENCH%1").arg(n));
    const std::shared_ptr<bool> loaded = bench::watchForGatewayPage(&view);
    const qint64 start = bench::nowNs();
    view.setHtml(html);
    return msToArrival(sandbox, start, [&] { return *loaded; });
}

double payWithCheckout(bench::FrameWatch &app, const SandboxProcess &sandbox, int n, int secondsOnScreen)
{
    PGTabBarViewController container;
    const QString orderId = QStringLiteral("BENCH%1").arg(n);
    bench::orderCheckout(container, orderId, sandbox.token(bench::AppId, orderId, bench::Amount));
    app.watch([&] { return container.findChild<QWidget *>(QStringLiteral("cardViewController")); });
    container.present();
    if (!bench::runEventsUntil([&] { return app.frameNs() != 0; }, 10000))
        return -1;
    if (secondsOnScreen > 0)
        bench::runEventsFor(secondsOnScreen * 1000);
    fillCardDetails(&container);
    auto *pay = container.findChild<QAbstractButton *>(QStringLiteral("cardPayButton"));
    auto *view = container.findChild<pelbrook::BrowserView *>(QStringLiteral("cardWebView"));
    if (!pay || !view)
        return -1;
    const std::shared_ptr<bool> loaded = bench::watchForGatewayPage(view);
    const qint64 start = bench::nowNs();
    pay->click();
    return msToArrival(sandbox, start, [&] { return *loaded; });
}

} // namespace

int main(int argc, char **argv)
{
    bench::FrameWatch app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    const int payments = argc > 2 ? qMax(1, std::atoi(argv[2])) : 5;
    if (!QStringList{"bare-fresh", "bare-ready", "bare-warm", "checkout-first", "checkout-warm"}.contains(mode)) {
        std::fprintf(stderr, "usage: bench_pay_to_gateway bare-fresh|bare-ready|bare-warm|checkout-first|checkout-warm [payments]\n");
        return 2;
    }
    bench::silenceLibraryLog();
    // The gateway answers with its approval page, which both kinds of view load alike.
    SandboxProcess sandbox;
    if (!bench::useSandbox(sandbox, "bench_pay_to_gateway"))
        return 1;

    std::unique_ptr<QWebEngineView> warmView;
    if (mode == QLatin1String("bare-warm")) {
        warmView = bareView(sandbox);
        payWithBareView(*warmView, sandbox, 0); // the load that warms it
        bench::runEventsFor(1000);
    }
    int failures = 0;
    for (int n = 1; n <= payments; ++n) {
        double ms = -1;
        if (mode == QLatin1String("bare-fresh") || mode == QLatin1String("bare-ready")) {
            const std::unique_ptr<QWebEngineView> view = bareView(sandbox);
            bench::waitUntilExposed(view.get());
            if (mode == QLatin1String("bare-ready")) {
                view->setHtml(bench::EmptyPage);
                bench::runEventsFor(1000);
            }
            ms = payWithBareView(*view, sandbox, n);
        } else if (mode == QLatin1String("bare-warm")) {
            ms = payWithBareView(*warmView, sandbox, n);
            bench::runEventsFor(1000);
        } else {
            ms = payWithCheckout(app, sandbox, n, mode == QLatin1String("checkout-warm") ? 1 : 0);
        }
        if (ms < 0) {
            ++failures;
            continue;
        }
        // A warm bare view's first measured payment is not its process's first.
        const bool first = n == 1 && mode != QLatin1String("bare-warm");
        bench::result(qPrintable(QStringLiteral("pay-") + mode + (first ? QStringLiteral("-first") : QString())), ms, "ms");
    }
    return failures == 0 ? 0 : 1;
}
