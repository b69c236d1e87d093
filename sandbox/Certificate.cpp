#include "Certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <ctime>
#include <filesystem>
#include <memory>

namespace sandbox {

namespace {

template<typename T, void (*Free)(T *)>
using Owned = std::unique_ptr<T, decltype([](T *p) { Free(p); })>;

using File = std::unique_ptr<FILE, decltype([](FILE *f) { std::fclose(f); })>;

std::string hex(const unsigned char *data, unsigned int size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string fingerprint(X509 *certificate)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!X509_digest(certificate, EVP_sha256(), digest, &size))
        return {};
    return hex(digest, size);
}

X509 *readCertificate(const std::string &path)
{
    File file(std::fopen(path.c_str(), "r"));
    return file ? PEM_read_X509(file.get(), nullptr, nullptr, nullptr) : nullptr;
}

// A week's margin, so a sandbox started today still works through the week.
bool usable(X509 *certificate)
{
    time_t weekAhead = std::time(nullptr) + 7 * 24 * 3600;
    return X509_cmp_time(X509_get0_notAfter(certificate), &weekAhead) > 0;
}

bool create(const std::string &certificatePath, const std::string &keyPath, const CertificateRequest &request,
            std::string &error)
{
    Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
    Owned<X509, X509_free> certificate(X509_new());
    if (!key || !certificate) {
        error = "cannot create a key";
        return false;
    }
    X509_set_version(certificate.get(), 2);
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f;
    Owned<BIGNUM, BN_free> serialNumber(BN_bin2bn(serial, sizeof serial, nullptr));
    BN_to_ASN1_INTEGER(serialNumber.get(), X509_get_serialNumber(certificate.get()));
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), request.validFromSeconds);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), request.validUntilSeconds);
    X509_set_pubkey(certificate.get(), key.get());
    X509_NAME *name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char *>("Pelbrook Sandbox"), -1, -1, 0);
    X509_set_issuer_name(certificate.get(), name);

    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate.get(), certificate.get(), nullptr, nullptr, 0);
    for (const auto &[nid, value] : {std::pair{NID_subject_alt_name, request.subjectAltName.c_str()},
                                     std::pair{NID_basic_constraints, "critical,CA:FALSE"},
                                     std::pair{NID_ext_key_usage, "serverAuth"}}) {
        Owned<X509_EXTENSION, X509_EXTENSION_free> extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
        if (!extension || !X509_add_ext(certificate.get(), extension.get(), -1)) {
            error = "cannot add certificate extensions";
            return false;
        }
    }
    if (!X509_sign(certificate.get(), key.get(), EVP_sha256())) {
        error = "cannot sign the certificate";
        return false;
    }
    // The key is readable by its owner alone from the moment it exists.
    const int keyDescriptor = ::open(keyPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    File keyFile(keyDescriptor >= 0 ? ::fdopen(keyDescriptor, "w") : nullptr);
    if (keyDescriptor >= 0 && !keyFile)
        ::close(keyDescriptor);
    File certificateFile(std::fopen(certificatePath.c_str(), "w"));
    if (!keyFile || !certificateFile
        || !PEM_write_PrivateKey(keyFile.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)
        || !PEM_write_X509(certificateFile.get(), certificate.get())) {
        error = "cannot write the certificate files";
        return false;
    }
    std::filesystem::permissions(keyPath, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return true;
}

} // namespace

CertificateFiles ensureSelfSignedCertificate(const std::string &directory, std::string &error)
{
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    CertificateFiles files{directory + "/sandbox-cert.pem", directory + "/sandbox-key.pem", {}};
    Owned<X509, X509_free> existing(readCertificate(files.certificatePath));
    if (!existing || !usable(existing.get()) || !std::filesystem::exists(files.keyPath)) {
        if (!create(files.certificatePath, files.keyPath, CertificateRequest{}, error))
            return {};
    }
    files.sha256 = certificateFingerprint(files.certificatePath, error);
    return files.sha256.empty() ? CertificateFiles{} : files;
}

CertificateFiles createSelfSignedCertificate(const std::string &directory, const std::string &baseName,
                                            const CertificateRequest &request, std::string &error)
{
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    CertificateFiles files{directory + "/" + baseName + "-cert.pem", directory + "/" + baseName + "-key.pem", {}};
    if (!create(files.certificatePath, files.keyPath, request, error))
        return {};
    files.sha256 = certificateFingerprint(files.certificatePath, error);
    return files.sha256.empty() ? CertificateFiles{} : files;
}

std::string certificateFingerprint(const std::string &path, std::string &error)
{
    Owned<X509, X509_free> certificate(readCertificate(path));
    if (!certificate) {
        error = "cannot read the certificate " + path;
        return {};
    }
    return fingerprint(certificate.get());
}

} // namespace sandbox
