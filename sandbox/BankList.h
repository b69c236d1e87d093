#pragma once

#include <string>

namespace sandbox {

/// The sample bank list, as the bank list document: a JSON array of {"code", "bankName"}, with a
/// few malformed elements among them, as a careless publisher might leave.
std::string bankListJson();

/// A list of @p count made-up banks, codes from "100001" up, for trying long lists.
std::string generatedBankListJson(int count);

} // namespace sandbox
