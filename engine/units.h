// The converter's whole vocabulary: 37 one-way conversions and the 122 spellings that lead to them.
// Constant data; nothing changes it at run time.
#pragma once

#include <cstddef>
#include <cstdint>

struct Conversion {
    const char* target;  // unit text of the result; the temperatures start with the byte 0xB0
    float factor;        // single precision on purpose: results carry the widened single value
};

struct UnitAlias {
    int32_t conversion;    // index into ConversionTable
    const char* spelling;  // lower case, unique under the case-insensitive comparison
};

constexpr int CONVERSION_COUNT = 37;
constexpr int UNIT_ALIAS_COUNT = 122;
constexpr int UNIT_NOT_FOUND = 37;
constexpr int CONV_CELSIUS_TO_F = 12;
constexpr int CONV_FAHRENHEIT_TO_C = 36;
// The units of the two-amount forms, "5 ft 10 in", "11 st 4 lb" and "7 lb 8 oz".
constexpr int CONV_INCHES_TO_CM = 13;
constexpr int CONV_FEET_TO_M = 14;
constexpr int CONV_OUNCES_TO_G = 29;
constexpr int CONV_POUNDS_TO_KG = 30;
constexpr int CONV_STONES_TO_KG = 31;
constexpr size_t TARGET_TEXT_MAX = 4;     // "acre", "km/h"
constexpr size_t UNIT_SPELLING_MAX = 19;  // "kilometres per hour"

extern const Conversion ConversionTable[CONVERSION_COUNT];
// Sorted by CompareNoCase of the spellings, and unique under it.
extern const UnitAlias UnitAliasTable[UNIT_ALIAS_COUNT];

// The conversion whose spelling the text from begin to end (nullptr: to its terminator) is, or
// UNIT_NOT_FOUND: letters A-Z in any case, each run of white space as one space, and one final dot
// allowed ("ft.", "lbs."). The text begins and ends with other than white space.
int LookupSpelling(const char* begin, const char* end);
