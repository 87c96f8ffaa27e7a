// Any bytes into ConvertExpression: no crash, no write past the result buffer (ASan watches it),
// the same bytes give the same result, and every result is a printed number, the separator of
// its conversion and a target text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "convert.h"
#include "units.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size), again = text;
    const char* result = ConvertExpression(&text[0]);
    if (result == nullptr) return 0;
    const std::string first = result;
    bool shaped = false;
    for (const Conversion& conversion : ConversionTable) {
        const bool temperature = conversion.target[0] == '\xB0';
        const std::string suffix = (temperature ? "" : " ") + std::string(conversion.target);
        if (first.size() <= suffix.size() || first.compare(first.size() - suffix.size(), suffix.size(), suffix)) continue;
        static const std::regex twoDecimals("inf|-inf|nan|-?(0|[1-9][0-9]*)\\.[0-9]{2}"), whole("inf|-inf|nan|-?(0|[1-9][0-9]*)");
        shaped = shaped || std::regex_match(first.substr(0, first.size() - suffix.size()), temperature ? whole : twoDecimals);
    }
    const char* second = ConvertExpression(&again[0]);
    if (!shaped || first.size() >= RESULT_TEXT_SIZE || second == nullptr || first != second) std::abort();
    return 0;
}
