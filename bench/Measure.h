#pragma once

// What the benchmark programs share: the clock, the process's memory, the quiet library log
// and the line format bench/run reads.

#include <pelbrook/DebugLog.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <malloc.h>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

/// Nanoseconds of the machine's monotonic clock, the one the sandbox stamps arrivals with.
inline qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

/// The process's resident memory (VmRSS) in KiB; -1 when it cannot be read.
inline qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

/// The bytes the C heap has handed out and not had back, in KiB: what the process really holds,
/// without the free memory the allocator keeps.
inline qint64 heapInUseKiB()
{
    return qint64(mallinfo2().uordblks / 1024);
}

/// The proportional set size of a process in KiB (shared pages split among their users).
inline qint64 proportionalKiB(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

/// The proportional memory of every process descended from this one (the browser engine's
/// helpers and renderers), in KiB.
inline qint64 descendantsProportionalKiB()
{
    std::function<qint64(qint64)> below = [&](qint64 pid) -> qint64 {
        qint64 sum = 0;
        QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
        if (!children.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray &child : children.readAll().split(' ')) {
            if (const qint64 id = child.trimmed().toLongLong(); id > 0)
                sum += proportionalKiB(id) + below(id);
        }
        return sum;
    };
    return below(QCoreApplication::applicationPid());
}

/// Runs the event loop until @p done holds (checked every millisecond) or @p ms pass; returns
/// whether it held.
inline bool runEventsUntil(const std::function<bool()> &done, int ms)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    // A timer of its own, gone with the call: a single-shot timer would stay queued for the
    // whole time-out, and a benchmark calling this thousands of times would measure them.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    loop.exec();
    return done();
}

/// Runs the event loop until @p window is on screen (exposed); returns whether it is.
inline bool waitUntilExposed(QWidget *window)
{
    return runEventsUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }, 10000);
}

/// Lets the event loop run for @p ms, as a buyer's pause would.
inline void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    loop.exec();
}

/// The library's log lines would drown the figures.
inline void silenceLibraryLog()
{
    pelbrook::setDebugLogSink([](const QString &) {});
}

/// The longest time the event loop did not get round to a 1 ms timer during the next @p ms:
/// how long a keystroke or a click could have waited then.
inline double longestStallMs(int ms)
{
    qint64 last = nowNs();
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        const qint64 now = nowNs();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start(1);
    runEventsFor(ms);
    return double(longest) / 1e6;
}

/// The median of @p samples (which it reorders); 0 for none.
inline double median(std::vector<double> &samples)
{
    if (samples.empty())
        return 0;
    std::nth_element(samples.begin(), samples.begin() + long(samples.size() / 2), samples.end());
    return samples[samples.size() / 2];
}

/// One measurement, in the form bench/run collects: "RESULT <name> <value> <unit>".
inline void result(const char *name, double value, const char *unit)
{
    std::printf("RESULT %s %.4f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace bench
