// The converter's whole vocabulary: 37 one-way conversions and the 109 spellings that lead to them.
// Constant data; nothing changes it at run time.
#pragma once

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

extern const Conversion ConversionTable[CONVERSION_COUNT];
// Sorted by CompareNoCase of the spellings, so that bsearch finds them.
extern const UnitAlias UnitAliasTable[UNIT_ALIAS_COUNT];

// Index of the conversion whose spelling equals the whole text, ignoring the case of A-Z;
// UNIT_NOT_FOUND when none does. The text is expected trimmed.
int LookupUnit(const char* text);
