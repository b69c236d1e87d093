#pragma once

#include <QByteArray>
#include <QSslCertificate>

namespace pelbrook::TrustPolicy {

/// Normalises a fingerprint text: colons and white space removed, lower case. Empty when the
/// text is not 64 hex digits.
QString normalisedFingerprint(const QString &text);

/// The SHA-256 digest pinned in the endpoints, as 32 raw bytes; empty without a valid pin.
QByteArray pinnedDigest();

/// True when a pin is configured and the certificate's SHA-256 digest equals it.
bool isPinned(const QSslCertificate &certificate);

} // namespace pelbrook::TrustPolicy
