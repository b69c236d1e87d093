// The bank list parser (parseBankList) and the compact rows it fills (BankRows). The input is
// the body of the bank list document. It must never crash; it gives rows exactly when a plain
// QJsonDocument reading finds an array, and then one row per element that is an object with
// the strings "code" and "bankName", in order, with that name and code; every other element is
// skipped. Appending the rows to others keeps every row as it was.

#include "fuzz/FuzzSupport.h"
#include "netbanking/BankListParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace pelbrook;

namespace {

QList<MyStruct> referenceBanks(const QByteArray &body, bool *isList)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    *isList = error.error == QJsonParseError::NoError && document.isArray();
    QList<MyStruct> banks;
    const QJsonArray elements = document.array();
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const QJsonObject bank = elements.at(i).toObject();
        const QJsonValue name = bank.value(QStringLiteral("bankName"));
        const QJsonValue code = bank.value(QStringLiteral("code"));
        if (elements.at(i).isObject() && name.isString() && code.isString())
            banks.append(MyStruct(name.toString(), code.toString()));
    }
    return banks;
}

bool rowsHold(const BankRows &rows, const QList<MyStruct> &banks)
{
    if (rows.size() != banks.size() || rows.isEmpty() != banks.isEmpty())
        return false;
    for (qsizetype i = 0; i < banks.size(); ++i) {
        if (rows.name(i) != banks.at(i).name || rows.code(i) != banks.at(i).code || rows.at(i) != banks.at(i))
            return false;
    }
    return rows.toList() == banks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    bool isList = false;
    const QList<MyStruct> expected = referenceBanks(body, &isList);
    const std::optional<BankRows> rows = parseBankList(body);
    PELBROOK_FUZZ_REQUIRE(rows.has_value() == isList, "rows exactly when the document is a JSON array");
    if (!rows)
        return 0;
    PELBROOK_FUZZ_REQUIRE(rowsHold(*rows, expected), "one row per bank object, in order, with its name and code");

    BankRows joined;
    joined.append(QStringLiteral("First Bank"), QStringLiteral("0001"));
    joined.append(*rows);
    joined.append(*rows);
    PELBROOK_FUZZ_REQUIRE(rowsHold(joined, QList<MyStruct>{MyStruct(QStringLiteral("First Bank"), QStringLiteral("0001"))} + expected + expected),
                          "appended rows keep their names and codes");
    return 0;
}
