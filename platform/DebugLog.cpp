#include <pelbrook/DebugLog.h>

#include "platform/DebugLog_p.h"

#include <QMutex>

#include <cstdio>

namespace pelbrook {

namespace {

struct LogState {
    QMutex mutex;
    std::function<void(const QString &)> sink;
};

LogState &logState()
{
    static LogState state;
    return state;
}

} // namespace

void setDebugLogSink(std::function<void(const QString &line)> sink)
{
    LogState &state = logState();
    QMutexLocker lock(&state.mutex);
    state.sink = std::move(sink);
}

void debugLog(const QString &line)
{
    LogState &state = logState();
    QMutexLocker lock(&state.mutex);
    if (state.sink) {
        state.sink(line);
        return;
    }
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace pelbrook
