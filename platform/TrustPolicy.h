#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslError>

namespace pelbrook::TrustPolicy {

/// Normalises a fingerprint text: colons and white space removed, lower case. Empty when the
/// text is not 64 hex digits.
QString normalisedFingerprint(const QString &text);

/// True when a pin is configured and the certificate's SHA-256 digest equals it.
bool isPinned(const QSslCertificate &certificate);

/**
 * Decides whether a failed verification may be overridden: only when the server's own
 * certificate (the first of the chain) is the pinned one and every error is one that a
 * self-signed certificate causes. Expiry, revocation, host-name mismatch and every other
 * failure stay fatal, and without a pin nothing is ever overridden.
 */
bool mayOverride(const QList<QSslError> &errors, const QList<QSslCertificate> &chain);

} // namespace pelbrook::TrustPolicy
