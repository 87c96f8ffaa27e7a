// Number reading and printing by the program's own rules. std::from_chars and std::to_chars do
// the correctly rounded conversions; this file decides what a number looks like around them.
#include "numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
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

const char* ReadFraction(const char* text, const char* end, double* value)
{
    // The cheap look at what follows comes first: most numbers have a unit after them.
    const char* numerator = end;  // a mixed number's, after white space
    while (IsWhiteSpace(*numerator)) ++numerator;
    if (*end != '/' && (numerator == end || !IsDigit(*numerator))) return end;
    if (!IsWholeNumber(text, end)) return end;
    double whole = 0.0;
    double parts = std::fabs(*value);  // the numerator, until a mixed number reads its own
    const char* slash = end;
    if (*end != '/') {
        slash = ReadDigits(numerator, &parts);
        if (*slash != '/') return end;
        whole = std::fabs(*value);
    }
    double denominator = 0.0;
    const char* after = ReadDigits(slash + 1, &denominator);
    if (after == slash + 1 || *after == '.' || denominator == 0.0) return end;
    const double magnitude = whole + parts / denominator;
    if (!std::isfinite(magnitude)) return end;
    *value = std::signbit(*value) ? -magnitude : magnitude;
    return after;
}

const char* ScannedNumberEnd(const char* text)
{
    const char* p = text;
    while (IsWhiteSpace(*p)) ++p;
    if (*p == '+' || *p == '-') ++p;
    const char* mantissa = p;
    while (IsDigit(*p)) ++p;
    bool anyDigit = p != mantissa;
    if (*p == '.') {
        const char* fraction = ++p;
        while (IsDigit(*p)) ++p;
        anyDigit = anyDigit || p != fraction;
    }
    if (!anyDigit) return nullptr;
    // The letter and its sign belong to the number even when no digit follows.
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (*p == '+' || *p == '-') ++p;
        while (IsDigit(*p)) ++p;
    }
    return p;
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

// Prints a finite value from its digit string; returns the length written into text.
size_t PrintByDigits(char* text, double value, int decimals)
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

// Every power of ten that a uint64_t holds.
constexpr uint64_t POWERS_OF_TEN[] = {
    1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL, 100000000ULL,
    1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
    100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
    1000000000000000000ULL, 10000000000000000000ULL};

// Magnitudes in [2^-9, 2^53) get their digits on integers, exactly: every power of ten they need
// fits in 64 bits and every binary place count is below 64. Zero prints there as well.
constexpr double INTEGER_PATH_MIN = 0x1p-9;
constexpr double INTEGER_PATH_LIMIT = 0x1p53;
// Up to two decimals the printed value, counted in units of the last decimal, stays below 10^18.
constexpr int INTEGER_PATH_DECIMALS = 2;

// The high and low halves of a * b, from 32-bit pieces: there is no 128-bit type on every target.
void MultiplyWide(uint64_t a, uint64_t b, uint64_t* high, uint64_t* low)
{
    constexpr uint64_t HALF = 0xFFFFFFFFU;
    const uint64_t lowLow = (a & HALF) * (b & HALF);
    const uint64_t highLow = (a >> 32) * (b & HALF);
    const uint64_t lowHigh = (a & HALF) * (b >> 32);
    const uint64_t middle = (lowLow >> 32) + (highLow & HALF) + (lowHigh & HALF);
    *low = (middle << 32) | (lowLow & HALF);
    *high = (a >> 32) * (b >> 32) + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32);
}

// mantissa * 10^shift / 2^places, rounded half to even as std::to_chars rounds.
uint64_t ScaleDown(uint64_t mantissa, int shift, int places)
{
    uint64_t high = 0;
    uint64_t low = 0;
    MultiplyWide(mantissa, POWERS_OF_TEN[shift], &high, &low);
    if (places == 0) return low;
    const uint64_t quotient = (high << (64 - places)) | (low >> places);
    const uint64_t dropped = low & ((uint64_t{1} << places) - 1);
    const uint64_t halfway = uint64_t{1} << (places - 1);
    const bool up = dropped > halfway || (dropped == halfway && (quotient & 1) != 0);
    return quotient + (up ? 1 : 0);
}

// 10^-3 to 10^16 as doubles. The three negative powers are the nearest doubles, each above the
// true power with no double in between, so comparing a magnitude with them is still exact.
constexpr double DECIMAL_POWERS[] = {1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,  1e5, 1e6,
                                     1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
constexpr int DECIMAL_POWERS_FIRST = -3;

// The printed value of a magnitude in [INTEGER_PATH_MIN, INTEGER_PATH_LIMIT) as a count of
// units of its last decimal: its 17 significant digits rounded half to even (as std::to_chars
// rounds them), then half away from zero at the last decimal. Exact, on the double's own bits.
uint64_t PrintedUnitsByDigits(double magnitude, int decimals)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binaryPower = static_cast<int>(bits >> 52) - 1023;  // magnitude in [2^b, 2^(b+1))
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int places = 52 - binaryPower;  // magnitude = mantissa / 2^places
    // The first digit's power of ten: floor(b log10 2), or one more.
    const int estimate = binaryPower >= 0 ? binaryPower * 78913 / 262144
                                          : -((-binaryPower * 78913 + 262143) / 262144);
    const int exponent =
        estimate + (magnitude >= DECIMAL_POWERS[estimate + 1 - DECIMAL_POWERS_FIRST] ? 1 : 0);

    // May carry to 10^17, which changes nothing below.
    const uint64_t digits = ScaleDown(mantissa, SIGNIFICANT_DIGITS - 1 - exponent, places);
    const int dropped = SIGNIFICANT_DIGITS - 1 - exponent - decimals;  // digits below the last decimal
    if (dropped <= 0) return digits * POWERS_OF_TEN[-dropped];
    // digits / 10^dropped is floor(magnitude * 10^decimals), or one more where the rounding to 17
    // digits carried into it; both without a division.
    uint64_t units = (mantissa * POWERS_OF_TEN[decimals]) >> places;
    uint64_t rest = digits - units * POWERS_OF_TEN[dropped];
    if (rest >= POWERS_OF_TEN[dropped]) {
        ++units;
        rest -= POWERS_OF_TEN[dropped];
    }
    return rest >= 5 * POWERS_OF_TEN[dropped - 1] ? units + 1 : units;
}

// Below 10^(16 - decimals) the 17 digits end past the last decimal, `dropped` places further,
// and round up at it exactly when the fraction left there reaches 1/2 - 10^-dropped / 2 (no
// multiple of 2^-places lies on that mark). In units of 2^-places the mark is 2^(places-1) /
// 10^dropped below one half, which is under 0.4504 * 10^decimals as 10^exponent < 2^(b+1): at
// most 45 units. A fraction further below one half rounds down, one at or past it rounds up;
// only those in between need the digits.
constexpr uint64_t DIGIT_ROUNDING_REACH = 46;

// PrintedUnitsByDigits, taking the shortcut where the fraction alone decides.
uint64_t PrintedUnits(double magnitude, int decimals)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int places = 1075 - static_cast<int>(bits >> 52);
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    if (places > 0 && magnitude < DECIMAL_POWERS[SIGNIFICANT_DIGITS - 1 - decimals - DECIMAL_POWERS_FIRST]) {
        const uint64_t scaled = mantissa * POWERS_OF_TEN[decimals];  // below 2^60
        const uint64_t fraction = scaled & ((uint64_t{1} << places) - 1);
        const uint64_t halfway = uint64_t{1} << (places - 1);
        // Wraps to a large value for a fraction at or past one half.
        if (halfway - 1 - fraction >= DIGIT_ROUNDING_REACH) {
            return (scaled >> places) + (fraction >= halfway ? 1 : 0);
        }
    }
    return PrintedUnitsByDigits(magnitude, decimals);
}

// Longest text of the integer path: a sign, 19 digits (10^18 units at most), a point, and the
// terminator.
constexpr size_t INTEGER_TEXT_SIZE = 22;

struct DigitPairs {
    char text[200];
};

constexpr DigitPairs MakeDigitPairs()
{
    DigitPairs pairs{};
    for (size_t i = 0; i < 100; ++i) {
        pairs.text[2 * i] = static_cast<char>('0' + i / 10);
        pairs.text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}

// "00" to "99": the integer digits are written two at a time.
constexpr DigitPairs DIGIT_PAIRS = MakeDigitPairs();

// The number of decimal digits of a count below 2^63 (one for zero), from its binary exponent:
// the double nearest to the count has the exponent of its highest bit or one more, which puts
// the count's digits within one of floor(exponent log10 2) + 1.
size_t DecimalDigits(uint64_t count)
{
    const uint64_t nonZero = count | 1U;  // as many digits
    const auto nearest = static_cast<double>(nonZero);
    uint64_t bits = 0;
    std::memcpy(&bits, &nearest, sizeof bits);
    const auto guess = static_cast<size_t>(((bits >> 52) - 1023) * 78913 / 262144 + 1);
    return guess - 1 + (nonZero >= POWERS_OF_TEN[guess - 1] ? 1U : 0U) +
           (nonZero >= POWERS_OF_TEN[guess] ? 1U : 0U);
}

// Prints a finite value in the integer path's range, with its terminator, into out, which holds
// INTEGER_TEXT_SIZE bytes; the same bytes as PrintByDigits. Returns the length.
size_t PrintByIntegers(char* out, double value, int decimals)
{
    const double magnitude = std::fabs(value);
    uint64_t units = magnitude != 0.0 ? PrintedUnits(magnitude, decimals) : 0;
    // Digits printed: those of units, and at least the units digit before the point. Counted
    // first, so that the text is written where it belongs, right to left.
    const size_t digits = std::max(DecimalDigits(units), static_cast<size_t>(decimals) + 1);
    const size_t length = (std::signbit(value) ? 1U : 0U) + digits + (decimals > 0 ? 1U : 0U);
    char* p = out + length;
    *p = '\0';
    int decimalsLeft = decimals;
    for (; decimalsLeft >= 2; decimalsLeft -= 2, units /= 100) {
        p -= 2;
        std::memcpy(p, DIGIT_PAIRS.text + 2 * (units % 100), 2);
    }
    if (decimalsLeft > 0) {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0) *--p = '.';
    for (; units >= 100; units /= 100) {
        p -= 2;
        std::memcpy(p, DIGIT_PAIRS.text + 2 * (units % 100), 2);
    }
    if (units >= 10) {
        p -= 2;
        std::memcpy(p, DIGIT_PAIRS.text + 2 * units, 2);
    } else {
        *--p = static_cast<char>('0' + units);
    }
    if (p > out) *--p = '-';
    return length;
}

bool InIntegerPath(double value, int decimals)
{
    const double magnitude = std::fabs(value);
    return decimals <= INTEGER_PATH_DECIMALS &&
           (magnitude == 0.0 || (magnitude >= INTEGER_PATH_MIN && magnitude < INTEGER_PATH_LIMIT));
}

size_t Format(char* out, size_t size, double value, int decimals)
{
    if (out == nullptr || size == 0) return 0;
    if (decimals < 0) decimals = 0;
    if (decimals > MAX_DECIMALS) decimals = MAX_DECIMALS;
    if (size >= INTEGER_TEXT_SIZE && InIntegerPath(value, decimals)) {
        return PrintByIntegers(out, value, decimals);
    }

    char text[1 + MAX_PLACES + 1];  // sign, places, point
    size_t length = 0;
    if (std::isnan(value)) {
        length = 3;
        std::memcpy(text, "nan", length);
    } else if (std::isinf(value)) {
        length = value < 0 ? 4 : 3;
        std::memcpy(text, value < 0 ? "-inf" : "inf", length);
    } else {
        length = PrintByDigits(text, value, decimals);
    }

    if (length > size - 1) length = size - 1;
    std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}

}  // namespace

size_t FormatFixed(char* out, size_t size, double value, int decimals)
{
    return Format(out, size, value, decimals);
}
