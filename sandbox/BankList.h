#pragma once

#include <string>

namespace sandbox {

/// The sample bank list, as the bank list document: a JSON array of {"code", "bankName"}.
std::string bankListJson();

} // namespace sandbox
