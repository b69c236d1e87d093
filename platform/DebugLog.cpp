#include <pelbrook/DebugLog.h>

#include "platform/DebugLog_p.h"

#include <QLoggingCategory>
#include <QMutex>

namespace pelbrook {

// Off unless the host asks for it ("pelbrook.checkout.debug=true"): the lines carry order
// details and the buyer's UPI address, which have no place in a host's output by default.
Q_LOGGING_CATEGORY(checkoutLog, "pelbrook.checkout", QtInfoMsg)

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

// A message is one line whatever it holds (a wallet key from the host, an address from the
// buyer): control characters and line separators are written as escapes.
QString oneLine(const QString &message)
{
    QString line;
    line.reserve(message.size());
    for (const QChar c : message) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || u == 0x2028 || u == 0x2029)
            line += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

} // namespace

void setDebugLogSink(std::function<void(const QString &line)> sink)
{
    LogState &state = logState();
    QMutexLocker lock(&state.mutex);
    state.sink = std::move(sink);
}

void debugLog(const QString &message)
{
    LogState &state = logState();
    {
        QMutexLocker lock(&state.mutex);
        // A sink is the host's explicit choice: it hears every line, whatever the logging rules.
        if (state.sink) {
            state.sink(oneLine(message));
            return;
        }
    }
    qCDebug(checkoutLog).noquote() << oneLine(message);
}

} // namespace pelbrook
