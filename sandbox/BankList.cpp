#include "BankList.h"

#include "BankListData.h"

#include <sstream>

namespace sandbox {

std::string bankListJson()
{
    std::istringstream lines(BankListTsv);
    std::string line, json = "[";
    bool first = true;
    while (std::getline(lines, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        // The sample names and codes hold no characters that need JSON escapes.
        json += std::string(first ? "" : ",") + "{\"code\":\"" + line.substr(0, tab) + "\",\"bankName\":\""
            + line.substr(tab + 1) + "\"}";
        first = false;
    }
    return json + "]";
}

} // namespace sandbox
