#pragma once

#include <QString>

namespace pelbrook {

/// Writes one line to the debug log (the installed sink, or standard output).
void debugLog(const QString &line);

} // namespace pelbrook
