// Any bytes into ConvertExpression: no crash, no write past the result buffer (ASan watches it),
// and every result has the shape of a result: a printed number, the separator, a target text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "convert.h"
#include "units.h"

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "inf", "-inf", "nan", or an optional minus and digits, then exactly `decimals` decimals.
bool IsPrintedNumber(const char* begin, const char* end, int decimals)
{
    const size_t length = static_cast<size_t>(end - begin);
    if ((length == 3 && (std::memcmp(begin, "inf", 3) == 0 || std::memcmp(begin, "nan", 3) == 0)) ||
        (length == 4 && std::memcmp(begin, "-inf", 4) == 0)) {
        return true;
    }
    const char* p = begin;
    if (p != end && *p == '-') ++p;
    const char* digits = p;
    while (p != end && IsDigit(*p)) ++p;
    if (p == digits || (p - digits > 1 && *digits == '0')) return false;
    if (decimals == 0) return p == end;
    if (p == end || *p != '.') return false;
    ++p;
    for (int i = 0; i < decimals; ++i, ++p) {
        if (p == end || !IsDigit(*p)) return false;
    }
    return p == end;
}

bool HasResultShape(const char* result)
{
    const size_t length = std::strlen(result);
    if (length == 0 || length >= RESULT_TEXT_SIZE) return false;
    for (const Conversion& conversion : ConversionTable) {
        const bool temperature = conversion.target[0] == '\xB0';
        const size_t suffix = std::strlen(conversion.target) + (temperature ? 0 : 1);
        if (suffix >= length) continue;
        const char* number = result + length - suffix;
        if (!temperature && (*number != ' ' || std::strcmp(number + 1, conversion.target) != 0)) continue;
        if (temperature && std::strcmp(number, conversion.target) != 0) continue;
        if (IsPrintedNumber(result, number, temperature ? 0 : 2)) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    std::vector<char> copy = text;

    const char* result = ConvertExpression(text.data());
    if (result == nullptr) return 0;
    Require(HasResultShape(result));
    const std::vector<char> first(result, result + std::strlen(result) + 1);

    // The same input converts to the same bytes: nothing but the input decides the result.
    const char* again = ConvertExpression(copy.data());
    Require(again != nullptr && std::strcmp(again, first.data()) == 0);
    return 0;
}
