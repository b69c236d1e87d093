#pragma once

#include <QFont>
#include <QString>

namespace pelbrook {

/// The smallest text size a buyer is shown, in device-independent pixels.
constexpr int MinimumTextSize = 11;

/// A font of @p family at @p size points (one point = one device-independent pixel, and never
/// less than MinimumTextSize), falling back to close sans-serif families where the system lacks it.
QFont fontNamed(const QString &family, double size);

} // namespace pelbrook
