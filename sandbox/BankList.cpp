#include "BankList.h"

#include "BankListData.h"

#include <iterator>
#include <sstream>

namespace sandbox {

namespace {

// Elements a reader must skip, each placed after the sample bank with the same position.
const char *const Malformed[] = {
    R"({"code":3999,"bankName":"Numbered Code Bank"})",
    R"({"bankName":"Bank Without A Code"})",
    R"("Just A Bank Name")",
    R"({"code":"3998","bankName":null})",
};

} // namespace

std::string bankListJson()
{
    std::istringstream lines(BankListTsv);
    std::string line, json = "[";
    bool first = true;
    size_t index = 0;
    while (std::getline(lines, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        // The sample names and codes hold no characters that need JSON escapes.
        json += std::string(first ? "" : ",") + "{\"code\":\"" + line.substr(0, tab) + "\",\"bankName\":\""
            + line.substr(tab + 1) + "\"}";
        first = false;
        // One malformed element after every seventh bank.
        if (++index % 7 == 0 && index / 7 <= std::size(Malformed))
            json += std::string(",") + Malformed[index / 7 - 1];
    }
    return json + "]";
}

std::string generatedBankListJson(int count)
{
    std::string json = "[";
    json.reserve(size_t(count) * 56 + 2);
    for (int i = 1; i <= count; ++i) {
        const std::string number = std::to_string(100000 + i);
        json += std::string(i > 1 ? "," : "") + "{\"code\":\"" + number + "\",\"bankName\":\"Generated Bank " + number + "\"}";
    }
    return json + "]";
}

} // namespace sandbox
