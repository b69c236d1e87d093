#pragma once

#include <string>

namespace sandbox {

/// Paths of a PEM certificate and key, and the certificate's SHA-256 fingerprint (hex).
struct CertificateFiles {
    std::string certificatePath;
    std::string keyPath;
    std::string sha256;
};

/// What a new self-signed certificate says of itself.
struct CertificateRequest {
    /// The names it is valid for, in OpenSSL's notation.
    std::string subjectAltName = "IP:127.0.0.1,DNS:localhost";
    /// Its validity, in seconds from now; browsers refuse certificates valid for much longer
    /// than a year.
    long validFromSeconds = -3600;
    long validUntilSeconds = 300L * 24 * 3600;
};

/// Uses the certificate in @p directory, or creates a self-signed one for 127.0.0.1 and
/// localhost there when there is none (or it is about to expire). Empty paths on failure,
/// with the reason in @p error.
CertificateFiles ensureSelfSignedCertificate(const std::string &directory, std::string &error);

/// Creates a new self-signed certificate and key as @p baseName-cert.pem and
/// @p baseName-key.pem in @p directory, whatever is there. Empty paths on failure, with the
/// reason in @p error.
CertificateFiles createSelfSignedCertificate(const std::string &directory, const std::string &baseName,
                                            const CertificateRequest &request, std::string &error);

/// The SHA-256 fingerprint of the PEM certificate at @p path, as 64 lower-case hex digits.
std::string certificateFingerprint(const std::string &path, std::string &error);

} // namespace sandbox
