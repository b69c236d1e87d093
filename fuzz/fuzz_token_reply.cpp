// The token reply reader (readTokenReply). The input is the body of a merchant server's reply.
// It must never crash; a token is present exactly when the body is a JSON object whose
// "checksum" is a string, and then it is that string; otherwise the failure line is the JSON
// parser's message or the fixed "no checksum" line, and never holds the reply's text.

#include "core/TokenReply.h"
#include "fuzz/FuzzSupport.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace pelbrook;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const TokenReply reply = readTokenReply(body);

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    const bool parsed = error.error == QJsonParseError::NoError;
    const QJsonObject object = document.object();
    const bool carriesToken = parsed && document.isObject() && object.contains(QStringLiteral("checksum"))
        && object.value(QStringLiteral("checksum")).isString();

    PELBROOK_FUZZ_REQUIRE(reply.token.has_value() == carriesToken, "a token exactly when the reply is an object with a string checksum");
    if (carriesToken) {
        PELBROOK_FUZZ_REQUIRE(*reply.token == object.value(QStringLiteral("checksum")).toString(), "the token is the checksum");
        PELBROOK_FUZZ_REQUIRE(reply.failure.isEmpty(), "no failure line with a token");
    } else if (!parsed) {
        PELBROOK_FUZZ_REQUIRE(reply.failure == error.errorString(), "a body that is not JSON logs the parser's message");
    } else {
        PELBROOK_FUZZ_REQUIRE(reply.failure == QStringLiteral("The token reply has no \"checksum\" text."), "any other document logs the fixed line");
    }
    return 0;
}
