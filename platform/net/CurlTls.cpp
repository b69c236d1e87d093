#include "platform/net/CurlTls.h"

#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstring>

namespace pelbrook::CurlTls {

namespace {

void freePin(void *, void *pin, CRYPTO_EX_DATA *, int, long, void *)
{
    delete static_cast<QByteArray *>(pin);
}

// Where each TLS context keeps its own copy of the pin, freed with the context.
int pinIndex()
{
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, &freePin);
    return index;
}

// The errors a certificate that no authority signed causes, and nothing else: expiry, a bad
// signature, revocation and the rest stay fatal for the pinned certificate too.
bool isUnsignedCertificateError(int error)
{
    switch (error) {
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_UNTRUSTED:
        return true;
    default:
        return false;
    }
}

bool leafIsPinned(X509_STORE_CTX *store)
{
    auto *ssl = static_cast<SSL *>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    const auto *pin = ssl ? static_cast<const QByteArray *>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), pinIndex())) : nullptr;
    X509 *leaf = X509_STORE_CTX_get0_cert(store);
    if (!pin || pin->isEmpty() || !leaf)
        return false;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    return X509_digest(leaf, EVP_sha256(), digest, &length) == 1 && qsizetype(length) == pin->size()
        && std::memcmp(digest, pin->constData(), length) == 0;
}

// OpenSSL's verdict stands, except an unsigned-certificate error on a chain whose server
// certificate is the pinned one. The error is then cleared, or libcurl, which reads the
// verification result after the handshake, would still refuse the connection. The host name is
// checked by libcurl apart from this, for the pinned certificate as for any other.
int verify(int preverified, X509_STORE_CTX *store)
{
    if (preverified)
        return 1;
    if (!isUnsignedCertificateError(X509_STORE_CTX_get_error(store)) || !leafIsPinned(store))
        return 0;
    X509_STORE_CTX_set_error(store, X509_V_OK);
    return 1;
}

CURLcode prepareContext(CURL *, void *context, void *pin)
{
    auto *ssl = static_cast<SSL_CTX *>(context);
    // The connection's secrets stay in memory, whatever SSLKEYLOGFILE asks of libcurl: with
    // them, anyone could read the tokens in the traffic.
    SSL_CTX_set_keylog_callback(ssl, nullptr);
    if (static_cast<const QByteArray *>(pin)->isEmpty())
        return CURLE_OK;
    if (SSL_CTX_set_ex_data(ssl, pinIndex(), new QByteArray(*static_cast<const QByteArray *>(pin))) != 1)
        return CURLE_SSL_CERTPROBLEM;
    SSL_CTX_set_verify(ssl, SSL_VERIFY_PEER, &verify);
    return CURLE_OK;
}

} // namespace

void configure(CURL *easy, const QByteArray &pinnedDigest)
{
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    // A resumed session skips the certificate check, under whatever pin held when it began.
    curl_easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &prepareContext);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, &pinnedDigest);
}

} // namespace pelbrook::CurlTls
