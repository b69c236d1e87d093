#pragma once

#include <QString>

namespace pelbrook {

/// Writes one line to the debug log: the installed sink, or the `pelbrook.checkout` logging
/// category at debug level.
void debugLog(const QString &line);

} // namespace pelbrook
