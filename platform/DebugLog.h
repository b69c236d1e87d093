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
 * escapes. Lines never contain card numbers, CVVs or payment tokens, but some carry order
 * details and the buyer's UPI address.
 *
 * By default each line goes to Qt's logging, as a debug message of the category
 * `pelbrook.checkout`, which is off unless the host turns it on: with the environment variable
 * `QT_LOGGING_RULES="pelbrook.checkout.debug=true"`, with QLoggingCategory::setFilterRules(), or
 * in a qtlogging.ini. The host's message handler (qInstallMessageHandler()) then receives them.
 * The library writes nothing to standard output itself.
 *
 * Install @p sink to take every line instead, whatever the logging rules say (a host logger, a
 * test); pass an empty function to return to the logging category.
 *
 * The sink is process-wide and kept until it is replaced: whatever it captures must outlive
 * that. It may be installed at any time, from any thread. The library logs from the GUI thread;
 * the sink is called with an internal lock held, so it must not call setDebugLogSink() itself,
 * nor anything of the checkout that logs.
 */
PELBROOK_EXPORT void setDebugLogSink(std::function<void(const QString &line)> sink);

} // namespace pelbrook
