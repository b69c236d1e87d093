#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QString>

#include <functional>

namespace pelbrook {

/**
 * Redirects the checkout's debug log.
 *
 * The checkout writes its traces and rejected-input messages to a debug log, one line per
 * message. By default each line goes to standard output and is flushed at once. Install a sink
 * to route the lines elsewhere (a host logger, a test); pass an empty function to restore the
 * default. Lines never contain card numbers, CVVs or payment tokens.
 *
 * The sink may be called from any thread that logs; it is called with an internal lock held, so
 * it must not call setDebugLogSink itself.
 */
PELBROOK_EXPORT void setDebugLogSink(std::function<void(const QString &line)> sink);

} // namespace pelbrook
