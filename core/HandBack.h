#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace pelbrook {

/**
 * Strict percent-decoding of an encoded fragment: every "%" must be followed by two hex
 * digits and the decoded bytes must be valid UTF-8; "+" stays "+". Nothing when either rule
 * is broken.
 */
std::optional<QString> decodeFragment(const QString &encodedFragment);

/// The result a hand-back address carries: its decoded fragment, or nothing when it has no
/// fragment or the fragment does not decode.
std::optional<QString> handBackResult(const QUrl &url);

} // namespace pelbrook
