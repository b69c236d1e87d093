#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace pelbrook {

/// What a merchant server's token reply gives: the payment token, or the line to log instead.
struct TokenReply {
    /// The "checksum" text of the reply; absent when the reply does not carry one.
    std::optional<QString> token;
    /// Empty when there is a token. Otherwise the debug log line that says why not; it never
    /// holds anything of the reply, so a token cannot reach the log through it.
    QString failure;
};

/**
 * Reads the body of a token reply. A token is present exactly when the body is a JSON object
 * whose "checksum" member is a string. Otherwise the failure is the JSON parser's message for
 * a body that is not JSON, or "The token reply has no "checksum" text." for any other document.
 * Pure: safe to call from any thread.
 */
TokenReply readTokenReply(const QByteArray &body);

} // namespace pelbrook
