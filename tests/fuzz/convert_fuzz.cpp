// Any bytes into ConvertExpression, as they are or typed and mapped: no crash, no write past the
// result buffer (ASan watches it), the same bytes give the same result, and every result is a
// printed number, the separator of its conversion and a target text. Mapped text maps to itself
// again, as the window reads back a mapped text it shows.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "convert.h"
#include "unicode.h"
#include "units.h"

namespace {

void Require(bool condition) { if (!condition) std::abort(); }

// An input that begins with 0x01 is typed text in UTF-8, with 0x02 in UTF-16 (little-endian):
// the engine gets it mapped. Any other input goes to the engine as it is.
std::string EngineText(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    if (size == 0 || (data[0] != 0x01 && data[0] != 0x02)) return text;
    std::string mapped(MAPPED_CHARACTER_MAX * size + 1, '\0');
    size_t length = 0;
    if (data[0] == 0x01) {
        length = MapUtf8(text.data() + 1, size - 1, &mapped[0], mapped.size());
    } else {
        std::u16string units((size - 1) / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[1 + 2 * i] | data[2 + 2 * i] << 8);
        length = MapUtf16(units.data(), units.size(), &mapped[0], mapped.size());
    }
    mapped.resize(length);
    std::string again(MAPPED_CHARACTER_MAX * length + 1, '\0');
    Require(MapLatin1(mapped.data(), length, &again[0], again.size()) == length && again.compare(0, length, mapped) == 0);
    return mapped;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text = EngineText(data, size), again = text;
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
    Require(shaped && first.size() < RESULT_TEXT_SIZE && second != nullptr && first == second);
    return 0;
}
