// Fixed-point printing: a value's 17 significant digits (std::to_chars, which rounds half to
// even), rounded half away from zero at the last printed decimal, zeros past the 17th digit. For
// magnitudes from 2^-9 to 2^53 the integer path takes the same two roundings exactly on the
// double's own bits (its 53-bit mantissa times a power of ten that fits 64 bits, then shifted).
#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

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

// Prints a finite value in the integer path's range, with its terminator, into out, which holds
// INTEGER_TEXT_SIZE bytes; the same bytes as PrintByDigits. Returns the length.
size_t PrintByIntegers(char* out, double value, int decimals)
{
    uint64_t units = value != 0.0 ? PrintedUnits(std::fabs(value), decimals) : 0;
    char digits[INTEGER_TEXT_SIZE];  // written from the last decimal leftwards
    char* first = digits + sizeof digits;
    for (int place = 0; place <= decimals || units > 0; ++place, units /= 10) {  // the units digit at least
        if (place == decimals && decimals > 0) *--first = '.';
        *--first = static_cast<char>('0' + units % 10);
    }
    size_t length = 0;
    if (std::signbit(value)) out[length++] = '-';
    while (first != digits + sizeof digits) out[length++] = *first++;
    out[length] = '\0';
    return length;
}

bool InIntegerPath(double value, int decimals)
{
    const double magnitude = std::fabs(value);
    return decimals <= INTEGER_PATH_DECIMALS &&
           (magnitude == 0.0 || (magnitude >= INTEGER_PATH_MIN && magnitude < INTEGER_PATH_LIMIT));
}

}  // namespace

size_t FormatFixed(char* out, size_t size, double value, int decimals)
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
