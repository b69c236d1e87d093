#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QString>

#include <functional>

namespace pelbrook {

/**
 * Redirects the checkout's debug log.
 *
 * The checkout writes its traces and the reasons it refuses input (a pay press without a
 * payment token, a short card number, an unreadable token reply...) to a debug log, one line per
 * message: control characters and line separators in a message are written as `\uXXXX`
 * escapes. By default each line goes to standard output and is flushed at once. Install
 * @p sink to route the lines elsewhere (a host logger, a test); pass an empty function to
 * restore the default. Lines never contain card numbers, CVVs or payment tokens.
 *
 * The sink is process-wide and kept until it is replaced: whatever it captures must outlive
 * that. It may be installed at any time, from any thread. The library logs from the GUI thread;
 * the sink is called with an internal lock held, so it must not call setDebugLogSink() itself,
 * nor anything of the checkout that logs.
 */
PELBROOK_EXPORT void setDebugLogSink(std::function<void(const QString &line)> sink);

} // namespace pelbrook
