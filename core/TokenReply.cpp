#include "core/TokenReply.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace pelbrook {

TokenReply readTokenReply(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return {std::nullopt, error.errorString()};
    const QJsonValue checksum = document.object().value(QStringLiteral("checksum"));
    if (!document.isObject() || !checksum.isString())
        return {std::nullopt, QStringLiteral("The token reply has no \"checksum\" text.")};
    return {checksum.toString(), QString()};
}

} // namespace pelbrook
