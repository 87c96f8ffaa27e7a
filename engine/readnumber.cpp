// Reading of the two number syntaxes. The value is the decimal number rounded once to the nearest
// double: Clinger's fast path where an integer of at most 2^53 and a power of ten of at most 10^22
// are both exact (one correctly rounded multiplication or division), std::from_chars on the
// digits otherwise. Those past 10^309 or below 10^-324 need no digits to decide.
#include "numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "text.h"

namespace {

// Enough significant digits for any correctly rounded double (at most 767 matter); anything
// beyond is folded into one sticky digit, which keeps the rounding exact for texts of any length.
constexpr size_t MAX_SIGNIFICANT = 780;
// Written exponents saturate at 10^18. No text held in memory is that long, so the sum with the
// count of digits before the point, which the text's length bounds, still decides the value.
constexpr long long EXPONENT_CAP = 1000000000000000000LL;

// Reads the digits of an exponent (no sign), saturating; returns the end of the digits.
const char* ReadExponentDigits(const char* p, long long* exponent)
{
    long long value = 0;
    for (; IsDigit(*p); ++p) value = value < EXPONENT_CAP / 10 ? value * 10 + (*p - '0') : EXPONENT_CAP;
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

// The digits part shared by both readers, read in one pass: digits with an optional fraction,
// or "." and digits.
struct Mantissa {
    const char* begin;
    const char* end;              // nullptr when there is no digit
    uint64_t digits;              // all the digits as one integer, when there are at most 19
    long long digitCount;         // digits before and after the point, leading zeros included
    long long fractionDigits;     // digits after the point
};

constexpr long long EXACT_DIGITS_MAX = 19;  // any 19 digits fit in 64 bits

Mantissa ScanMantissa(const char* p)
{
    Mantissa mantissa = {p, nullptr, 0, 0, 0};
    // Past 19 digits the integer wraps (unsigned, so harmlessly); digitCount says not to use it.
    uint64_t digits = 0;
    for (; IsDigit(*p); ++p) digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    const long long integerDigits = p - mantissa.begin;
    if (*p == '.') {
        const char* fraction = ++p;
        for (; IsDigit(*p); ++p) digits = digits * 10 + static_cast<uint64_t>(*p - '0');
        mantissa.fractionDigits = p - fraction;
    }
    mantissa.digitCount = integerDigits + mantissa.fractionDigits;
    mantissa.digits = digits;
    if (mantissa.digitCount > 0) mantissa.end = p;
    return mantissa;
}

// Every power of ten that a double holds exactly.
constexpr double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr long long EXACT_POWER_MAX = 22;
constexpr uint64_t EXACT_MANTISSA_MAX = uint64_t{1} << 53;

// Clinger's fast path: an integer of at most 2^53 and a power of ten of at most 10^22 are both
// exact doubles, so one multiplication or division rounds correctly. Returns false where it
// does not apply. Every number it applies to is read here, never by std::from_chars: that takes
// the same path with the floating-point unit its library was built for, and where that is the
// x87 (32-bit builds) it rounds twice and misses the nearest double now and then.
bool ReadByClinger(uint64_t digits, long long power, double* value)
{
    if (digits > EXACT_MANTISSA_MAX || power < -EXACT_POWER_MAX || power > EXACT_POWER_MAX) return false;
    // Dividing by 10^0 as well keeps the common cases, integers and fractions, on one road.
    const auto exact = static_cast<double>(digits);
    *value = power <= 0 ? exact / EXACT_POWERS_OF_TEN[-power] : exact * EXACT_POWERS_OF_TEN[power];
    return true;
}

// The significant digits of a mantissa, the first MAX_SIGNIFICANT of them copied to digits;
// returns how many were copied (0 for a mantissa of zeros). *sticky tells whether any beyond
// them is not zero, *first points at the first.
size_t CopySignificantDigits(const Mantissa& mantissa, char* digits, const char** first, bool* sticky)
{
    size_t count = 0;
    *first = nullptr;
    *sticky = false;
    for (const char* p = mantissa.begin; p != mantissa.end; ++p) {
        if (*p == '.' || (*first == nullptr && *p == '0')) continue;
        if (*first == nullptr) *first = p;
        if (count < MAX_SIGNIFICANT) {
            digits[count++] = *p;
        } else {
            *sticky = *sticky || *p != '0';
        }
    }
    return count;
}

// DecimalToDouble for the numbers that Clinger's path does not take at first sight: the
// canonical form 0.DDDD e power, built in a bounded buffer, for std::from_chars.
bool LongDecimalToDouble(const Mantissa& mantissa, long long exponent, double* value)
{
    char text[MAX_SIGNIFICANT + 32] = {'0', '.'};
    const char* first = nullptr;
    bool sticky = false;
    size_t count = CopySignificantDigits(mantissa, text + 2, &first, &sticky);
    if (count == 0) {
        *value = 0.0;  // digits, all of them zeros
        return true;
    }
    // Digits from the first significant one to the point; negative for zeros after the point.
    const char* point = std::find(mantissa.begin, mantissa.end, '.');
    const long long scale = first < point ? point - first : -(first - point - 1);
    const long long power = scale + exponent;  // the value is 0.DDDD times 10^power
    if (!sticky && count <= static_cast<size_t>(EXACT_DIGITS_MAX)) {  // leading zeros made it long
        uint64_t digits = 0;
        for (size_t i = 0; i < count; ++i) digits = digits * 10 + static_cast<uint64_t>(text[2 + i] - '0');
        if (ReadByClinger(digits, power - static_cast<long long>(count), value)) return true;
    }
    // The value lies in [10^(power-1), 10^power): from 10^309 on it overflows, and below 10^-324
    // (under half the least double) it is zero, whatever the digits.
    if (power > 309 || power < -323) {
        *value = power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return false;
    }
    if (sticky) text[2 + count++] = '1';
    char* cursor = text + 2 + count;
    *cursor++ = 'e';
    const std::to_chars_result written = std::to_chars(cursor, text + sizeof text, power);
    const std::from_chars_result read =
        std::from_chars(text, written.ptr, *value, std::chars_format::general);
    if (read.ec == std::errc::result_out_of_range) {
        *value = power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return false;
    }
    return true;
}

// Converts a mantissa times 10^exponent to the nearest double. Returns false on overflow (and
// *value = inf) or underflow to zero (*value = 0).
bool DecimalToDouble(const Mantissa& mantissa, long long exponent, double* value)
{
    if (mantissa.digitCount <= EXACT_DIGITS_MAX &&
        ReadByClinger(mantissa.digits, exponent - mantissa.fractionDigits, value)) {
        return true;
    }
    return LongDecimalToDouble(mantissa, exponent, value);
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
    const Mantissa mantissa = ScanMantissa(p);
    if (mantissa.end == nullptr) return text;
    const char* end = mantissa.end;

    long long exponent = 0;
    if (*end == 'e' || *end == 'E' || *end == 'd' || *end == 'D') {
        // Without a digit after its sign, the letter is not part of the number.
        const char* sign = end + 1;
        if (IsDigit(sign[*sign == '+' || *sign == '-' ? 1 : 0])) end = ReadSignedExponent(sign, &exponent);
    }

    double magnitude = 0.0;
    const bool inRange = DecimalToDouble(mantissa, exponent, &magnitude);
    const bool underflow = inRange ? magnitude != 0.0 && magnitude < DBL_MIN : magnitude == 0.0;
    if (underflow) {
        *value = 0.0;  // too small: +0, the sign dropped
    } else {
        *value = negative ? -magnitude : magnitude;
    }
    return end;
}

namespace {

// A run of digits as a correctly rounded double, an infinity past the largest; returns its end,
// or text (and *value untouched) when there is no digit.
const char* ReadDigits(const char* text, double* value)
{
    const char* p = text;
    uint64_t digits = 0;  // wraps past 19 digits, when digitCount says not to use it
    for (; IsDigit(*p); ++p) digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    if (p == text) return text;
    const Mantissa mantissa = {text, p, digits, p - text, 0};
    DecimalToDouble(mantissa, 0, value);
    return p;
}

// Whether text to end, white space aside, is an optional sign and digits only.
bool IsWholeNumber(const char* text, const char* end)
{
    while (text < end && IsWhiteSpace(*text)) ++text;
    if (text < end && (*text == '+' || *text == '-')) ++text;
    if (text >= end) return false;
    return std::all_of(text, end, IsDigit);
}

}  // namespace

const char* ReadFraction(const char* text, const char* end, double* value, bool inches)
{
    double whole = 0.0;
    double parts = std::fabs(*value);  // the numerator, until a mixed number reads its own
    const char* slash = end;
    if (*end != '/') {
        // A mixed number's numerator follows white space, or in inches one hyphen ("6'3-6/8").
        const char* numerator = end;
        if (inches && *numerator == '-') {
            ++numerator;
        } else {
            while (IsWhiteSpace(*numerator)) ++numerator;
        }
        if (numerator == end || !IsDigit(*numerator)) return end;
        slash = ReadDigits(numerator, &parts);
        if (*slash != '/') return end;
        whole = std::fabs(*value);
    }
    if (!IsWholeNumber(text, end)) return end;
    double denominator = 0.0;
    const char* after = ReadDigits(slash + 1, &denominator);
    if (after == slash + 1 || (*after == '.' && !inches) || denominator == 0.0) return end;
    const double magnitude = whole + parts / denominator;
    if (!std::isfinite(magnitude)) return end;
    *value = std::signbit(*value) ? -magnitude : magnitude;
    return after;
}

const char* ReadScannedNumber(const char* text, double* value)
{
    const char* p = text;
    while (IsWhiteSpace(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    const Mantissa mantissa = ScanMantissa(p);
    if (mantissa.end == nullptr) return nullptr;
    const char* end = mantissa.end;
    long long exponent = 0;
    // The letter and its sign belong to the number even when no digit follows.
    if (*end == 'e' || *end == 'E') end = ReadSignedExponent(end + 1, &exponent);
    double magnitude = 0.0;
    DecimalToDouble(mantissa, exponent, &magnitude);
    *value = negative ? -magnitude : magnitude;
    return end;
}

