// The conversion and spelling tables, and the case-insensitive lookup of a spelling.
#include "units.h"

#include <algorithm>

#include "text.h"

namespace {

// Builds a float from its IEEE single encoding at compile time, so that each factor below is
// visibly the exact value of its bit pattern. Normal numbers only, which all factors are.
constexpr float FloatFromBits(uint32_t bits) noexcept
{
    int exponent = static_cast<int>((bits >> 23) & 0xFFU) - 127 - 23;
    double magnitude = static_cast<double>((bits & 0x7FFFFFU) | 0x800000U);
    for (; exponent > 0; --exponent) magnitude *= 2.0;
    for (; exponent < 0; ++exponent) magnitude /= 2.0;
    return static_cast<float>((bits >> 31) != 0 ? -magnitude : magnitude);
}

}  // namespace

// Reverse factors are stored on their own, not derived: 1 ha is 2.470966 acre, although 1 acre
// is 0.40468565 ha (whose reciprocal would be 2.4710538).
constexpr Conversion ConversionTable[CONVERSION_COUNT] = {
    {"in", FloatFromBits(0x3D214285)},        //  0 mm -> in, 0.03937008
    {"in", FloatFromBits(0x3EC99326)},        //  1 cm -> in, 0.39370078
    {"ft", FloatFromBits(0x4051F948)},        //  2 m -> ft, 3.28084
    {"mls", FloatFromBits(0x3F1F134C)},       //  3 km -> miles, 0.6213882
    {"acre", FloatFromBits(0x401E244F)},      //  4 ha -> acre, 2.470966
    {"ci", FloatFromBits(0x3D79F409)},        //  5 cc -> cubic inch, 0.061023746
    {"gal", FloatFromBits(0x3E613CF4)},       //  6 l -> imperial gallon, 0.21995908
    {"mph", FloatFromBits(0x3F1F134C)},       //  7 km/h -> mph, 0.6213882
    {"oz", FloatFromBits(0x3813F329)},        //  8 mg -> oz, 3.527399e-05
    {"oz", FloatFromBits(0x3D107B76)},        //  9 g -> oz, 0.03527399
    {"lbs", FloatFromBits(0x400D17EE)},       // 10 kg -> lbs, 2.2045856
    {"hp", FloatFromBits(0x3FABA69B)},        // 11 kW -> hp, 1.3410219
    {"\xB0 F", FloatFromBits(0x3FE66666)},    // 12 Celsius -> Fahrenheit, 1.8, then + 32
    {"cm", FloatFromBits(0x40228F5C)},        // 13 in -> cm, 2.54
    {"m", FloatFromBits(0x3E9C0EBF)},         // 14 ft -> m, 0.3048
    {"m", FloatFromBits(0x3F6A161E)},         // 15 yd -> m, 0.9144
    {"km", FloatFromBits(0x3FCDFD8B)},        // 16 mile -> km, 1.6093
    {"ha", FloatFromBits(0x3ECF32F5)},        // 17 acre -> ha, 0.40468565
    {"ha", FloatFromBits(0x3DCF32F5)},        // 18 rood -> ha, 0.10117141
    {"cc", FloatFromBits(0x418318B5)},        // 19 cubic inch -> cc, 16.387064
    {"l", FloatFromBits(0x40917B4A)},         // 20 imperial gallon -> l, 4.5463
    {"l", FloatFromBits(0x3F11798E)},         // 21 pint -> l, 0.568261
    {"l", FloatFromBits(0x3F91797D)},         // 22 quart -> l, 1.13652
    {"l", FloatFromBits(0x3E11797D)},         // 23 gill -> l, 0.142065
    {"l", FloatFromBits(0x41117992)},         // 24 peck -> l, 9.09218
    {"l", FloatFromBits(0x4211798C)},         // 25 bushel -> l, 36.3687
    {"km/h", FloatFromBits(0x3FCDFD8B)},      // 26 mph -> km/h, 1.6093
    {"mg", FloatFromBits(0x42819909)},        // 27 grain -> mg, 64.7989
    {"g", FloatFromBits(0x3FE2CBFB)},         // 28 dram -> g, 1.77185
    {"gr", FloatFromBits(0x41E2CBC7)},        // 29 oz -> gram, 28.3495
    {"kg", FloatFromBits(0x3EE83E42)},        // 30 lb -> kg, 0.4536
    {"kg", FloatFromBits(0x40CB3593)},        // 31 stone (14 lb) -> kg, 6.35029
    {"kg", FloatFromBits(0x414B35A8)},        // 32 quarter (28 lb) -> kg, 12.7006
    {"kg", FloatFromBits(0x42356FD2)},        // 33 central (100 lb) -> kg, 45.3592
    {"kg", FloatFromBits(0x424B358E)},        // 34 hundredweight (112 lb) -> kg, 50.8023
    {"kw", FloatFromBits(0x3F3EE632)},        // 35 hp -> kW, 0.7457
    {"\xB0 C", FloatFromBits(0x3F0E38E4)},    // 36 Fahrenheit -> Celsius, 0.5555556, then - 160/9
};

constexpr UnitAlias UnitAliasTable[UNIT_ALIAS_COUNT] = {
    {13, "\""}, {14, "'"},
    {17, "acre"}, {17, "acres"},
    {25, "bushel"}, {25, "bushels"},
    {12, "c"}, {5, "cc"}, {12, "celsius"}, {12, "centigrade"},
    {1, "centimeter"}, {1, "centimeters"}, {1, "centimetre"}, {1, "centimetres"},
    {33, "central"}, {33, "centrals"},
    {19, "ci"}, {1, "cm"}, {34, "cwt"},
    {28, "dram"}, {28, "drams"},
    {36, "f"}, {36, "fahrenheit"}, {14, "feet"}, {14, "foot"}, {14, "ft"},
    {9, "g"}, {20, "gal"}, {20, "gallon"}, {20, "gallons"}, {23, "gill"}, {23, "gills"},
    {9, "gr"}, {27, "grain"}, {27, "grains"}, {9, "gram"}, {9, "grams"},
    {4, "ha"}, {4, "hectare"}, {4, "hectaren"}, {4, "hectares"},
    {35, "horsepower"}, {35, "hp"}, {34, "hundredweight"}, {34, "hundredweights"},
    {13, "in"}, {13, "inch"}, {13, "inches"},
    {10, "kg"}, {10, "kgs"}, {10, "kilo"}, {10, "kilogram"}, {10, "kilograms"},
    {3, "kilometer"}, {3, "kilometers"}, {7, "kilometers per hour"}, {3, "kilometre"}, {3, "kilometres"},
    {7, "kilometres per hour"}, {10, "kilos"}, {11, "kilowatt"}, {11, "kilowatts"},
    {3, "km"}, {7, "km/h"}, {7, "km/hr"}, {7, "kmh"}, {7, "kmph"}, {7, "kph"}, {11, "kw"},
    {6, "l"}, {30, "lb"}, {30, "lbs"}, {6, "liter"}, {6, "liters"}, {6, "litre"}, {6, "litres"},
    {2, "m"}, {2, "meter"}, {2, "meters"}, {2, "metre"}, {2, "metres"},
    {8, "mg"}, {8, "mgr"}, {16, "mi"}, {16, "mile"}, {16, "miles"}, {26, "miles per hour"},
    {8, "milligram"}, {8, "milligrams"},
    {0, "millimeter"}, {0, "millimeters"}, {0, "millimetre"}, {0, "millimetres"},
    {16, "mls"}, {0, "mm"}, {26, "mph"},
    {29, "ounce"}, {29, "ounces"}, {29, "oz"}, {29, "ozs"},
    {24, "peck"}, {24, "pecks"}, {21, "pint"}, {21, "pints"}, {30, "pound"}, {30, "pounds"}, {21, "pt"},
    {32, "qr"}, {22, "qt"}, {22, "quart"}, {32, "quarter"}, {32, "quarters"}, {22, "quarts"},
    {18, "rood"}, {18, "roods"},
    {31, "st"}, {31, "stone"}, {31, "stones"},
    {15, "yard"}, {15, "yards"}, {15, "yd"}, {15, "yds"},
};

namespace {

constexpr size_t TextLength(const char* text)
{
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

constexpr bool TablesKeepTheirShape()
{
    size_t longestTarget = 0;
    for (const Conversion& conversion : ConversionTable) longestTarget = std::max(longestTarget, TextLength(conversion.target));
    size_t longestSpelling = 0;
    bool reached[CONVERSION_COUNT] = {};
    int conversionsReached = 0;
    for (const UnitAlias& alias : UnitAliasTable) {
        longestSpelling = std::max(longestSpelling, TextLength(alias.spelling));
        if (alias.conversion < 0 || alias.conversion >= CONVERSION_COUNT) return false;
        conversionsReached += reached[alias.conversion] ? 0 : 1;
        reached[alias.conversion] = true;
        for (const char* c = alias.spelling; *c != '\0'; ++c) {
            if (FoldLetter(*c) != *c) return false;
        }
    }
    for (size_t i = 1; i < UNIT_ALIAS_COUNT; ++i) {
        if (CompareNoCase(UnitAliasTable[i - 1].spelling, UnitAliasTable[i].spelling) >= 0) return false;
    }
    return conversionsReached == CONVERSION_COUNT && longestTarget == TARGET_TEXT_MAX && longestSpelling == UNIT_SPELLING_MAX;
}
static_assert(TablesKeepTheirShape(),
              "every conversion reached by a spelling; spellings in lower case, sorted and unique under "
              "CompareNoCase; the longest texts as units.h says");

// Spellings are found through a hash table, not by a binary search of the sorted table: each step
// of a search mispredicts as often as not, and ostrel-convert took 82 ns a line with it, 108 times
// as fast as GNU units, against 68 ns and 132 times with this (docs/performance.md). Linear
// probing in 256 slots, filled at compile time; each slot holds a row's index plus one, or 0.
constexpr size_t SLOT_COUNT = 256;

constexpr size_t SlotOf(const char* text)  // FNV-1a
{
    uint32_t hash = 2166136261U;
    for (; *text != '\0'; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 16777619U;
    return hash % SLOT_COUNT;
}

struct SpellingSlots {
    uint8_t rows[SLOT_COUNT];
};

constexpr SpellingSlots PlaceSpellings()
{
    SpellingSlots slots{};
    for (size_t i = 0; i < UNIT_ALIAS_COUNT; ++i) {
        size_t slot = SlotOf(UnitAliasTable[i].spelling);
        while (slots.rows[slot] != 0) slot = (slot + 1) % SLOT_COUNT;
        slots.rows[slot] = static_cast<uint8_t>(i + 1);
    }
    return slots;
}

static_assert(UNIT_ALIAS_COUNT < 255 && UNIT_ALIAS_COUNT < SLOT_COUNT / 2, "a row's index fits a slot, and most slots stay empty");
constexpr SpellingSlots SPELLING_SLOTS = PlaceSpellings();

// The conversion of the spelling that is the whole key (folded), or UNIT_NOT_FOUND.
int FindSpelling(const char* key)
{
    for (size_t slot = SlotOf(key); SPELLING_SLOTS.rows[slot] != 0; slot = (slot + 1) % SLOT_COUNT) {
        const UnitAlias& alias = UnitAliasTable[SPELLING_SLOTS.rows[slot] - 1];
        if (CompareNoCase(alias.spelling, key) == 0) return alias.conversion;
    }
    return UNIT_NOT_FOUND;
}

}  // namespace

int LookupSpelling(const char* begin, const char* end)
{
    // The text with each run of white space squeezed to one space; longer than every spelling and
    // a dot, it is none.
    char key[UNIT_SPELLING_MAX + 2];
    size_t length = 0;
    for (const char* p = begin; p != end && *p != '\0'; ++p) {
        if (IsWhiteSpace(*p) && IsWhiteSpace(p[-1])) continue;  // begin is no white space
        if (length == sizeof key - 1) return UNIT_NOT_FOUND;
        key[length++] = IsWhiteSpace(*p) ? ' ' : FoldLetter(*p);
    }
    key[length] = '\0';
    const int found = FindSpelling(key);
    if (found != UNIT_NOT_FOUND || length < 2 || key[length - 1] != '.') return found;
    key[length - 1] = '\0';  // "ft.", "lbs.": one final dot abbreviates
    return FindSpelling(key);
}
