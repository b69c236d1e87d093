#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QString>
#include <QUrl>

namespace pelbrook {

/**
 * @headerfile Endpoints.h <pelbrook/Endpoints.h>
 * Where the checkout sends its requests, and which extra certificate it trusts.
 *
 * The defaults are placeholders under the reserved ".example" domain: a host must set the
 * gateway's real addresses with setEndpoints() before it presents a checkout. Every connection
 * is verified against the system's trusted roots; pinnedCertificateSha256 adds one certificate
 * for a development gateway, and no other certificate error is ever accepted.
 *
 * @code
 * pelbrook::Endpoints endpoints;
 * endpoints.testGateway = QUrl("https://test-gateway.example");
 * endpoints.productionGateway = QUrl("https://gateway.example");
 * endpoints.bankList = QUrl("https://objects.example/pg/iosbanks.json");
 * pelbrook::setEndpoints(endpoints);
 * @endcode
 *
 * Its members and their order are frozen within a minor release: a member is added only in a
 * new minor release, for which hosts are rebuilt (see Version.h).
 */
struct PELBROOK_EXPORT Endpoints {
    /// Scheme and host (and port) of the test gateway, used when the checkout's `env` is
    /// "TEST". The library replaces any path with its own.
    QUrl testGateway = QUrl(QStringLiteral("https://test-gateway.pelbrook.example"));
    /// Scheme and host (and port) of the production gateway, used when `env` is "PROD". The
    /// library replaces any path with its own.
    QUrl productionGateway = QUrl(QStringLiteral("https://gateway.pelbrook.example"));
    /// Full address of the net banking bank list: a JSON array of `{"code", "bankName"}`
    /// objects of at most 8 MiB, downloaded each time a net banking screen is first shown.
    QUrl bankList = QUrl(QStringLiteral("https://banks.pelbrook.example/pg/iosbanks.json"));
    /// Optional: SHA-256 of one DER certificate that the browser view and the HTTP client trust
    /// in addition to the system's, as 64 hex digits (any case, colons ignored); any other value
    /// pins nothing. Used for a local sandbox gateway with a self-signed certificate: only its
    /// unknown issuer is overlooked, so it must still be valid and name the host it serves.
    /// Leave it empty for hosts with certificates from a public authority.
    QString pinnedCertificateSha256;
};

/// Replaces the endpoints of the whole process. Call it on the GUI thread before presenting a
/// checkout: the bank list address is read when a net banking screen is built, the gateway's
/// when the buyer presses pay, the pin at every certificate check.
PELBROOK_EXPORT void setEndpoints(const Endpoints &endpoints);

/// A copy of the endpoints in effect: the placeholders until setEndpoints() is called.
PELBROOK_EXPORT Endpoints endpoints();

} // namespace pelbrook
