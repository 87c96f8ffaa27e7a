// The two number readers on any bytes, against each other and the C library's strtod (in the "C"
// locale); and the fast paths of reading and printing against the straightforward ones.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

// The engine's own file: its general printing path, which the fast one is held to, is its own.
#include "printnumber.cpp"

namespace {

void Require(bool condition) { if (!condition) std::abort(); }

// An input that begins with 0x01 stands for a long text: in the rest, 0x01 and n repeat the
// byte before them n * 1024 more times, up to about 256 KiB; other inputs are taken as they are.
std::string ExpandRuns(const uint8_t* data, size_t size)
{
    const bool runs = size > 0 && data[0] == 0x01;
    std::string text;
    for (size_t i = runs ? 1 : 0; i < size; ++i) {
        if (runs && data[i] == 0x01 && i + 1 < size && !text.empty() && text.size() < (size_t{1} << 18))
            text.append(size_t{data[++i]} * 1024, text.back());
        else
            text.push_back(static_cast<char>(data[i]));
    }
    return text;
}

// A double from the first eight bytes, and a decimal of up to 20 digits and a 5 where the 17-digit
// or the printed rounding may cut, read both ways; what they read, and its neighbours, printed.
void RequireFastPathsAgree(const uint8_t* data)
{
    double value = 0.0;
    uint64_t digits = 0;
    std::memcpy(&value, data, sizeof value);
    std::memcpy(&digits, data + 8, sizeof digits);
    char texts[2][64] = {};
    std::to_chars(texts[0], texts[0] + 32, std::isfinite(value) ? value : 0.0);
    char* end = std::to_chars(texts[1], texts[1] + 24, digits >> (data[16] % 64)).ptr;
    std::to_chars(std::strcpy(end, "5e") + 2, texts[1] + 40, data[17] % 48 - 30);
    for (const char* text : texts) {
        double reference = 0.0, read = 0.0;
        std::from_chars(text, text + std::strlen(text), reference);
        Require(*ReadPlainNumber(text, &read) == '\0' && read == (std::fabs(reference) < DBL_MIN ? 0.0 : reference));
        // Printed with 0, 1 and 2 decimals, and negated: the same bytes as the general path's.
        for (const double near : {value, reference, std::nextafter(reference, 0.0), std::nextafter(reference, 1e300)}) {
            for (int way = 0; way < 6; ++way) {
                const double shown = way % 2 ? -near : near;
                char printed[2][FIXED_TEXT_MAX + 8] = {};
                const size_t length = FormatFixed(printed[0], sizeof printed[0], shown, way / 2);
                Require(!std::isfinite(shown) || (PrintByDigits(printed[1], shown, way / 2) == length &&
                                                  std::strcmp(printed[0], printed[1]) == 0));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 18) RequireFastPathsAgree(data);
    const std::string text = ExpandRuns(data, size);
    const char* begin = text.c_str();

    double plain = 0.0, scanned = 0.0;
    const char* plainEnd = ReadPlainNumber(begin, &plain);
    const char* scannedEnd = ReadScannedNumber(begin, &scanned);
    const char* stop = begin + std::strlen(begin);
    Require(plainEnd >= begin && plainEnd <= stop && (plainEnd > begin || (plain == 0.0 && !std::signbit(plain))));
    Require(!scannedEnd || (scannedEnd > begin && scannedEnd <= stop));

    // Same span read by both (so no "d" exponent and no dangling exponent letter): same value,
    // except that the plain reader turns magnitudes below 2^-1022 into +0.
    if (scannedEnd != nullptr && scannedEnd == plainEnd) {
        const bool tiny = std::fabs(scanned) < DBL_MIN;  // a written zero keeps its sign, an underflow gives +0
        Require(tiny ? plain == 0.0 && (scanned == 0.0 || !std::signbit(plain)) : plain == scanned);
        // An independent oracle for the digits: strtod agrees on this syntax.
        const double reference = std::strtod(std::string(begin, scannedEnd).c_str(), nullptr);
        Require(reference == scanned || (std::fabs(reference) < DBL_MIN && std::fabs(scanned) < DBL_MIN));
    }
    return 0;
}
