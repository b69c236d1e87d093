#include "netbanking/BankListParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pelbrook {

std::optional<BankRows> parseBankList(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    const QJsonArray array = document.array();
    BankRows banks;
    // Names and codes make up about half of a typical document.
    banks.reserve(array.size(), body.size() / 2);
    // Read through references and lookups, without copying each element: a long list spends
    // most of its time here otherwise.
    for (auto element = array.constBegin(); element != array.constEnd(); ++element) {
        if (!(*element).isObject())
            continue;
        const QJsonObject bank = (*element).toObject();
        const auto code = bank.constFind(QLatin1String("code"));
        const auto name = bank.constFind(QLatin1String("bankName"));
        if (code == bank.constEnd() || name == bank.constEnd() || !code->isString() || !name->isString())
            continue;
        banks.append(name->toString(), code->toString());
    }
    banks.squeeze();
    return banks;
}

} // namespace pelbrook
