#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QString>
#include <QUrl>

namespace pelbrook {

/**
 * Where the checkout sends its requests, and which extra certificate it trusts.
 *
 * The defaults are placeholders under the reserved ".example" domain: a host must set the
 * gateway's real addresses before it presents a checkout.
 */
struct PELBROOK_EXPORT Endpoints {
    /// Scheme and host (and port) of the test gateway; the library adds the path.
    QUrl testGateway = QUrl(QStringLiteral("https://test-gateway.pelbrook.example"));
    /// Scheme and host (and port) of the production gateway; the library adds the path.
    QUrl productionGateway = QUrl(QStringLiteral("https://gateway.pelbrook.example"));
    /// Full address of the net banking bank list document.
    QUrl bankList = QUrl(QStringLiteral("https://banks.pelbrook.example/pg/iosbanks.json"));
    /// Optional: SHA-256 of one DER certificate that the browser view and the HTTP client trust
    /// in addition to the system's, as 64 hex digits (any case, colons ignored). Used for a local
    /// sandbox gateway with a self-signed certificate.
    QString pinnedCertificateSha256;
};

/// Replaces the endpoints. Call on the main thread, before a checkout container loads its view.
PELBROOK_EXPORT void setEndpoints(const Endpoints &endpoints);

/// The endpoints in effect.
PELBROOK_EXPORT Endpoints endpoints();

} // namespace pelbrook
