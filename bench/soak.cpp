// A kiosk's day: present the checkout, pay by card (the sandbox approves at once), let it close,
// and start again, many times in one process. Reports resident memory and open file
// descriptors at checkouts 1 and 10 (after warm-up), every 100th and the last: a long-running
// host must see no growth beyond noise.
//
// Usage: bench_soak [checkouts, default 500] [--reuse] [--close]
//   --reuse  present one container again and again instead of a new one per checkout
//   --close  present and close each checkout without paying

#include "BenchOrder.h"
#include "BenchSandbox.h"
#include "CheckoutHelpers.h"
#include "Measure.h"
#include "SandboxProcess.h"

#include <pelbrook/DebugLog.h>
#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/ResultDelegate.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <malloc.h>

using namespace pelbrook;

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

// One checkout, start to close. False when it did not close with a result in time.
bool payOnce(PGTabBarViewController &container, const SandboxProcess &sandbox, int n, bool pay)
{
    const QString orderId = QStringLiteral("SOAK%1").arg(n);
    bench::orderCheckout(container, orderId, sandbox.token(bench::AppId, orderId, bench::Amount));
    QEventLoop loop;
    bool paid = false;
    const auto result = QObject::connect(&container, &PGTabBarViewController::paymentResult, &loop,
                                         [&](const QString &outcome) { paid = outcome.contains(QLatin1String("SUCCESS")); });
    const auto closed = QObject::connect(&container, &PGTabBarViewController::dismissed, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    container.present();
    if (!pay) {
        QTimer::singleShot(0, &container, [&container] { container.cancelTapped(); });
        loop.exec();
        QObject::disconnect(result);
        QObject::disconnect(closed);
        return !container.isVisible();
    }
    // The cards tab opens first; only its screen is built by now.
    QWidget *screen = &container;
    fillCardDetails(screen);
    if (auto *pay = screen->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")))
        pay->click();
    loop.exec();
    QObject::disconnect(result);
    QObject::disconnect(closed);
    return paid && !container.isVisible();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int checkouts = 500;
    bool reuse = false;
    bool pay = true;
    for (const QString &argument : app.arguments().mid(1)) {
        if (argument == QLatin1String("--reuse"))
            reuse = true;
        else if (argument == QLatin1String("--close"))
            pay = false;
        else
            checkouts = qMax(10, argument.toInt());
    }
    // The figures are the output; the checkout's debug log would bury them.
    setDebugLogSink([](const QString &) {});
    SandboxProcess sandbox({QStringLiteral("--auto-approve")});
    if (!bench::useSandbox(sandbox, "bench_soak"))
        return 1;

    std::printf("%d checkouts, %s container, %s\n", checkouts, reuse ? "one reused" : "a new",
                pay ? "paid by card" : "closed without paying");
    std::printf("%10s %12s %8s %10s\n", "checkout", "RSS KiB", "fds", "ms each");
    std::unique_ptr<PGTabBarViewController> kept;
    QElapsedTimer timer;
    timer.start();
    int failures = 0;
    for (int n = 1; n <= checkouts; ++n) {
        std::unique_ptr<PGTabBarViewController> fresh;
        if (!reuse || !kept) {
            fresh = std::make_unique<PGTabBarViewController>();
            fresh->resize(390, 960);
        }
        PGTabBarViewController &container = reuse ? *(kept ? kept : (kept = std::move(fresh))) : *fresh;
        if (!payOnce(container, sandbox, n, pay))
            ++failures;
        fresh.reset();
        // What a host's event loop does between customers: deferred deletions run.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (n == 1 || n == 10 || n == 100 || n == checkouts || n % 100 == 0) {
            malloc_trim(0);
            std::printf("%10d %12lld %8d %10.1f\n", n, bench::residentKiB(), openDescriptors(), double(timer.elapsed()) / n);
            std::fflush(stdout);
        }
    }
    std::printf("failed checkouts: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
