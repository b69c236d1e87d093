#pragma once

#include <string>

namespace sandbox {

/// Paths of a PEM certificate and key, and the certificate's SHA-256 fingerprint (hex).
struct CertificateFiles {
    std::string certificatePath;
    std::string keyPath;
    std::string sha256;
};

/// Uses the certificate in @p directory, or creates a self-signed one for 127.0.0.1 and
/// localhost there when there is none (or it is about to expire). Empty paths on failure,
/// with the reason in @p error.
CertificateFiles ensureSelfSignedCertificate(const std::string &directory, std::string &error);

/// The SHA-256 fingerprint of the PEM certificate at @p path, as 64 lower-case hex digits.
std::string certificateFingerprint(const std::string &path, std::string &error);

} // namespace sandbox
