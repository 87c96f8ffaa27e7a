// The converter's whole vocabulary: 37 one-way conversions and the 109 spellings that lead to them.
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
constexpr int UNIT_ALIAS_COUNT = 109;
constexpr int UNIT_NOT_FOUND = 37;
constexpr int CONV_CELSIUS_TO_F = 12;
constexpr int CONV_FAHRENHEIT_TO_C = 36;
constexpr size_t TARGET_TEXT_MAX = 4;     // "acre", "km/h"
constexpr size_t UNIT_SPELLING_MAX = 14;  // "hundredweights"

extern const Conversion ConversionTable[CONVERSION_COUNT];
// Sorted by CompareNoCase of the spellings, and unique under it.
extern const UnitAlias UnitAliasTable[UNIT_ALIAS_COUNT];

// A target text padded with zeros to a fixed size, so that it is copied without looking for its
// end: ConversionTable's texts, in its order.
struct PaddedTarget {
    char text[8];
    size_t length;
};
extern const PaddedTarget* const PaddedTargets;  // CONVERSION_COUNT rows

// Index of the conversion whose spelling equals the whole text, ignoring the case of A-Z;
// UNIT_NOT_FOUND when none does. The text is expected trimmed.
int LookupUnit(const char* text);

// TrimSpace and LookupUnit in one pass: trims the text in place as TrimSpace does and returns
// the conversion of what is left, UNIT_NOT_FOUND when that is empty or no spelling.
int TrimAndLookupUnit(char* text);
