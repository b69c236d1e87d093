#pragma once

#include <QFont>
#include <QString>

namespace pelbrook {

/// A font of @p family at @p size points (one point = one device-independent pixel), falling
/// back to close sans-serif families where the system lacks it.
QFont fontNamed(const QString &family, double size);

} // namespace pelbrook
