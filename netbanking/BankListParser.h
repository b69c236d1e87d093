#pragma once

#include "netbanking/BankRows.h"

#include <QByteArray>

#include <optional>

namespace pelbrook {

/**
 * Reads a bank list document: a JSON array of objects, each with the strings "code" and
 * "bankName". Elements that are not such objects are skipped and the rest read. Gives nothing
 * when the body is not JSON or its top level is not an array: the list must then not be
 * reloaded. An empty array gives an empty list.
 */
std::optional<BankRows> parseBankList(const QByteArray &body);

} // namespace pelbrook
