#pragma once

#include <QByteArray>

#include <curl/curl.h>

namespace pelbrook::CurlTls {

/**
 * Sets @p easy's TLS: verified against the system's roots and the address's host name, always,
 * and the certificate with SHA-256 digest @p pinnedDigest (raw bytes; empty for none) trusted
 * in addition. @p pinnedDigest must stay valid while @p easy is in use; each connection takes a
 * copy of it into its TLS context.
 */
void configure(CURL *easy, const QByteArray &pinnedDigest);

} // namespace pelbrook::CurlTls
