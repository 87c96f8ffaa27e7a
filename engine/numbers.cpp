// Number reading and printing by the program's own rules. std::from_chars and std::to_chars do
// the correctly rounded conversions; this file decides what a number looks like around them.
#include "numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

#include "text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Enough significant digits for any correctly rounded double (at most 767 matter); anything
// beyond is folded into one sticky digit, which keeps the rounding exact for texts of any length.
constexpr size_t MAX_SIGNIFICANT = 780;
// Decimal exponents are saturated here; far beyond both overflow and underflow.
constexpr long long EXPONENT_LIMIT = 100000;

long long SaturatedAdd(long long a, long long b)
{
    const long long sum = a + b;
    if (sum > EXPONENT_LIMIT) return EXPONENT_LIMIT;
    if (sum < -EXPONENT_LIMIT) return -EXPONENT_LIMIT;
    return sum;
}

// Reads the digits of an exponent (no sign) with saturation; returns the end of the digits.
const char* ReadExponentDigits(const char* p, long long* exponent)
{
    long long value = 0;
    for (; IsDigit(*p); ++p) {
        if (value < EXPONENT_LIMIT) value = value * 10 + (*p - '0');
    }
    *exponent = value;
    return p;
}

// An optional sign and the exponent's digits; returns the end of the digits.
const char* ReadSignedExponent(const char* p, long long* exponent)
{
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    p = ReadExponentDigits(p, exponent);
    if (negative) *exponent = -*exponent;
    return p;
}

// Converts the unsigned decimal "digits[.digits]" in [begin, end) times 10^exponent to the
// nearest double. Returns false on overflow (and *value = inf) or underflow to zero (*value = 0).
bool DecimalToDouble(const char* begin, const char* end, long long exponent, double* value)
{
    // Canonical form 0.DDDD e scale, built in a bounded buffer.
    char text[MAX_SIGNIFICANT + 32];
    size_t count = 0;
    bool sticky = false;
    long long scale = 0;  // digits before the point, after leading zeros are dropped
    bool pastPoint = false;
    for (const char* p = begin; p != end; ++p) {
        if (*p == '.') {
            pastPoint = true;
            continue;
        }
        if (count == 0 && *p == '0') {
            if (pastPoint) scale = SaturatedAdd(scale, -1);
            continue;
        }
        if (!pastPoint) scale = SaturatedAdd(scale, 1);
        if (count < MAX_SIGNIFICANT) {
            text[2 + count++] = *p;
        } else if (*p != '0') {
            sticky = true;
        }
    }
    if (count == 0) {
        *value = 0.0;
        return true;
    }
    if (sticky) text[2 + count++] = '1';
    text[0] = '0';
    text[1] = '.';
    char* cursor = text + 2 + count;
    *cursor++ = 'e';
    const long long power = SaturatedAdd(scale, exponent);
    const std::to_chars_result written = std::to_chars(cursor, text + sizeof text, power);
    const std::from_chars_result read =
        std::from_chars(text, written.ptr, *value, std::chars_format::general);
    if (read.ec == std::errc::result_out_of_range) {
        *value = power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return false;
    }
    return true;
}

// The mantissa shared by both readers: digits with an optional fraction, or "." and digits.
// Returns its end, or nullptr when there is no digit.
const char* ScanMantissa(const char* p)
{
    bool anyDigit = false;
    for (; IsDigit(*p); ++p) anyDigit = true;
    if (*p == '.') {
        for (++p; IsDigit(*p); ++p) anyDigit = true;
    }
    return anyDigit ? p : nullptr;
}

}  // namespace

const char* ReadPlainNumber(const char* text, double* value)
{
    *value = 0.0;
    const char* p = text;
    while (IsWhiteSpace(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') {
        ++p;
        if (!IsDigit(*p) && *p != '.') return text;
    }
    const char* mantissa = p;
    const char* end = ScanMantissa(p);
    if (end == nullptr) return text;
    const char* mantissaEnd = end;

    long long exponent = 0;
    if (*end == 'e' || *end == 'E' || *end == 'd' || *end == 'D') {
        // Without a digit after its sign, the letter is not part of the number.
        const char* sign = end + 1;
        if (IsDigit(sign[*sign == '+' || *sign == '-' ? 1 : 0])) end = ReadSignedExponent(sign, &exponent);
    }

    double magnitude = 0.0;
    const bool inRange = DecimalToDouble(mantissa, mantissaEnd, exponent, &magnitude);
    const bool underflow = inRange ? magnitude != 0.0 && magnitude < DBL_MIN : magnitude == 0.0;
    if (underflow) {
        *value = 0.0;  // too small: +0, the sign dropped
    } else {
        *value = negative ? -magnitude : magnitude;
    }
    return end;
}

namespace {

// The scanned number's syntax; returns its end, or nullptr when there is none.
const char* ScanScannedNumber(const char* text, bool* negative, const char** mantissa,
                              const char** mantissaEnd, long long* exponent)
{
    const char* p = text;
    while (IsWhiteSpace(*p)) ++p;
    *negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    *mantissa = p;
    const char* end = ScanMantissa(p);
    if (end == nullptr) return nullptr;
    *mantissaEnd = end;
    *exponent = 0;
    // The letter and its sign belong to the number even when no digit follows.
    if (*end == 'e' || *end == 'E') end = ReadSignedExponent(end + 1, exponent);
    return end;
}

}  // namespace

const char* ScannedNumberEnd(const char* text)
{
    bool negative = false;
    const char* mantissa = nullptr;
    const char* mantissaEnd = nullptr;
    long long exponent = 0;
    return ScanScannedNumber(text, &negative, &mantissa, &mantissaEnd, &exponent);
}

const char* ReadScannedNumber(const char* text, double* value)
{
    bool negative = false;
    const char* mantissa = nullptr;
    const char* mantissaEnd = nullptr;
    long long exponent = 0;
    const char* end = ScanScannedNumber(text, &negative, &mantissa, &mantissaEnd, &exponent);
    if (end == nullptr) return nullptr;
    double magnitude = 0.0;
    DecimalToDouble(mantissa, mantissaEnd, exponent, &magnitude);
    *value = negative ? -magnitude : magnitude;
    return end;
}

namespace {

constexpr int SIGNIFICANT_DIGITS = 17;
constexpr int MAX_DECIMALS = 20;
constexpr int MAX_INTEGER_DIGITS = 309;  // DBL_MAX has 309
// Place values printed, from a spare carry place above the integer digits down to 10^-decimals.
constexpr int MAX_PLACES = 1 + MAX_INTEGER_DIGITS + MAX_DECIMALS;

// The 17 significant digits of a finite magnitude, and the power of ten of the first.
int SignificantDigits(double magnitude, char (&digits)[SIGNIFICANT_DIGITS])
{
    if (magnitude == 0.0) {
        std::fill(std::begin(digits), std::end(digits), '0');
        return 0;
    }
    char scientific[32];  // "d.dddddddddddddddde+ddd"
    const std::to_chars_result written = std::to_chars(
        scientific, scientific + sizeof scientific, magnitude, std::chars_format::scientific,
        SIGNIFICANT_DIGITS - 1);
    digits[0] = scientific[0];
    std::memcpy(digits + 1, scientific + 2, SIGNIFICANT_DIGITS - 1);
    const char* exponentText = scientific + 2 + SIGNIFICANT_DIGITS;  // after the "e"
    if (*exponentText == '+') ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, written.ptr, exponent);
    return exponent;
}

// Adds one unit at the last place, carrying; the spare place at index 0 takes a final carry.
void RoundUp(char* places, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        if (places[i] != '9') {
            ++places[i];
            return;
        }
        places[i] = '0';
    }
}

// Prints a finite value; returns the length written into text.
size_t PrintFinite(char* text, double value, int decimals)
{
    char digits[SIGNIFICANT_DIGITS];
    const int exponent = SignificantDigits(std::fabs(value), digits);

    // places[i] holds the digit of 10^(top - i); beyond the 17 significant digits, zeros.
    const int top = (exponent > 0 ? exponent : 0) + 1;
    const int count = top + decimals + 1;
    char places[MAX_PLACES];
    for (int i = 0; i < count; ++i) {
        const int index = exponent - (top - i);
        places[i] = index >= 0 && index < SIGNIFICANT_DIGITS ? digits[index] : '0';
    }
    // Half away from zero, judged on the first significant digit that is not printed.
    const int firstDropped = exponent + decimals + 1;
    if (firstDropped >= 0 && firstDropped < SIGNIFICANT_DIGITS && digits[firstDropped] >= '5') {
        RoundUp(places, count);
    }

    size_t length = 0;
    if (std::signbit(value)) text[length++] = '-';  // also for a value that prints as zero
    int first = 0;
    while (first < top && places[first] == '0') ++first;  // keep the units digit
    for (int i = first; i <= top; ++i) text[length++] = places[i];
    if (decimals > 0) {
        text[length++] = '.';
        for (int i = top + 1; i < count; ++i) text[length++] = places[i];
    }
    return length;
}

}  // namespace

size_t FormatFixed(char* out, size_t size, double value, int decimals)
{
    if (out == nullptr || size == 0) return 0;
    if (decimals < 0) decimals = 0;
    if (decimals > MAX_DECIMALS) decimals = MAX_DECIMALS;

    char text[1 + MAX_PLACES + 1];  // sign, places, point
    size_t length = 0;
    if (std::isnan(value)) {
        length = 3;
        std::memcpy(text, "nan", length);
    } else if (std::isinf(value)) {
        length = value < 0 ? 4 : 3;
        std::memcpy(text, value < 0 ? "-inf" : "inf", length);
    } else {
        length = PrintFinite(text, value, decimals);
    }

    if (length > size - 1) length = size - 1;
    std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}
