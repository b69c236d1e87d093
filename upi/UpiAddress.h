#pragma once

#include <QString>

#include <optional>

namespace pelbrook {

/**
 * The address a UPI payment sends: with the app "tez" the typed address followed directly by
 * the chosen handle; with "others", or no app chosen, the typed address unchanged. Writes the
 * trace lines of the choice to the debug log.
 */
QString composeUpiAddress(const std::optional<QString> &upiCode, const QString &upiVpa, const QString &upiPostfix);

} // namespace pelbrook
