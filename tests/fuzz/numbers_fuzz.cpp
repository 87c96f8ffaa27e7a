// The two number readers on any bytes, checked against each other where their syntaxes agree,
// and against the C library's strtod (in the "C" locale) for the plain number's e-form.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "numbers.h"

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* begin = text.c_str();

    double plain = 0.0;
    const char* plainEnd = ReadPlainNumber(begin, &plain);
    Require(plainEnd >= begin && plainEnd <= begin + std::strlen(begin));
    if (plainEnd == begin) Require(plain == 0.0 && !std::signbit(plain));

    double scanned = 0.0;
    const char* scannedEnd = ReadScannedNumber(begin, &scanned);
    Require(scannedEnd == nullptr || (scannedEnd > begin && scannedEnd <= begin + std::strlen(begin)));
    Require(scannedEnd == ScannedNumberEnd(begin));

    // Same span read by both (so no "d" exponent and no dangling exponent letter): same value,
    // except that the plain reader turns magnitudes below 2^-1022 into +0.
    if (scannedEnd != nullptr && scannedEnd == plainEnd) {
        if (scanned == 0.0) {
            Require(plain == 0.0);  // a written zero keeps its sign, an underflow gives +0
        } else if (std::fabs(scanned) < DBL_MIN) {
            Require(plain == 0.0 && !std::signbit(plain));
        } else {
            Require(plain == scanned);
        }
        // An independent oracle for the digits: strtod agrees on this syntax.
        const std::string span(begin, scannedEnd);
        if (span.find_first_of("xXiInN") == std::string::npos) {
            const double reference = std::strtod(span.c_str(), nullptr);
            Require(std::fabs(reference) < DBL_MIN || reference == scanned);
        }
    }
    return 0;
}
