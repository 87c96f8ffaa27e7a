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

constexpr size_t LongestTarget()
{
    size_t longest = 0;
    for (const Conversion& conversion : ConversionTable) longest = std::max(longest, TextLength(conversion.target));
    return longest;
}

constexpr size_t LongestSpelling()
{
    size_t longest = 0;
    for (const UnitAlias& alias : UnitAliasTable) longest = std::max(longest, TextLength(alias.spelling));
    return longest;
}

static_assert(LongestTarget() == TARGET_TEXT_MAX && TARGET_TEXT_MAX < sizeof PaddedTarget::text,
              "the result buffer is sized by the longest target, which PaddedTarget holds");

struct PaddedTargetTable {
    PaddedTarget rows[CONVERSION_COUNT];
};

constexpr PaddedTargetTable PadTargets()
{
    PaddedTargetTable table{};
    for (size_t i = 0; i < CONVERSION_COUNT; ++i) {
        const char* target = ConversionTable[i].target;
        table.rows[i].length = TextLength(target);
        for (size_t j = 0; j < table.rows[i].length; ++j) table.rows[i].text[j] = target[j];
    }
    return table;
}

constexpr PaddedTargetTable PADDED_TARGETS = PadTargets();

// A text as the lookup compares it: its bytes folded (A-Z to a-z), each run of white space as one
// space, in three big-endian words, zero padded; comparing the words then compares the texts.
// Longer texts keep only their length: no spelling is that long.
constexpr size_t PACKED_WORDS = 3;
constexpr size_t PACKED_BYTES = 8 * PACKED_WORDS;
static_assert(LongestSpelling() == UNIT_SPELLING_MAX && UNIT_SPELLING_MAX < PACKED_BYTES,
              "every spelling, and one more byte for a final dot, fits the packed words");

struct PackedText {
    uint64_t words[PACKED_WORDS];
    size_t length;
};

// Adds one byte, folded. Each word is named, not indexed, so that the packing stays in registers.
constexpr void PackByte(PackedText* packed, char c)
{
    const uint64_t byte = static_cast<unsigned char>(FoldLetter(c));
    const size_t at = packed->length++;
    if (at < 8) {
        packed->words[0] |= byte << (56 - 8 * at);
    } else if (at < 16) {
        packed->words[1] |= byte << (120 - 8 * at);
    } else if (at < PACKED_BYTES) {
        packed->words[2] |= byte << (184 - 8 * at);
    }
}

// Packs [begin, end), which starts and ends with other than white space.
constexpr PackedText Pack(const char* begin, const char* end)
{
    PackedText packed{};
    for (const char* p = begin; p != end; ++p) {
        if (!IsWhiteSpace(*p)) {
            PackByte(&packed, *p);
        } else if (!IsWhiteSpace(p[-1])) {
            PackByte(&packed, ' ');
        }
    }
    return packed;
}

struct PackedSpellings {
    PackedText rows[UNIT_ALIAS_COUNT];  // in the order of UnitAliasTable
};

constexpr PackedSpellings PackSpellings()
{
    PackedSpellings spellings{};
    for (size_t i = 0; i < UNIT_ALIAS_COUNT; ++i) {
        const char* spelling = UnitAliasTable[i].spelling;
        spellings.rows[i] = Pack(spelling, spelling + TextLength(spelling));
    }
    return spellings;
}

constexpr PackedSpellings PACKED_SPELLINGS = PackSpellings();

// A text's packed words lead to one slot of 512, which holds the only row whose spelling can
// equal it. The multiplier is one under which the spellings all land in slots of their own,
// found by trying odd numbers; SpellingsHaveSlotsOfTheirOwn checks it. One multiplication and a
// few loads decide, where a binary search waits on seven loads and, on varied input, mispredicts.
constexpr int SLOT_BITS = 9;
constexpr uint64_t SLOT_MULTIPLIER = 0xC0A6392F79CA25ABULL;

// The first sixteen bytes tell every spelling from every other; the last word is only compared.
constexpr size_t Slot(const PackedText& packed)
{
    const uint64_t mixed = packed.words[0] + packed.words[1] * 31;
    return static_cast<size_t>((mixed * SLOT_MULTIPLIER) >> (64 - SLOT_BITS));
}

// Each slot holds its row's index plus one, or 0.
struct SpellingSlots {
    uint8_t rows[size_t{1} << SLOT_BITS];
};

constexpr SpellingSlots PlaceSpellings()
{
    SpellingSlots slots{};
    for (size_t i = 0; i < UNIT_ALIAS_COUNT; ++i) slots.rows[Slot(PACKED_SPELLINGS.rows[i])] = static_cast<uint8_t>(i + 1);
    return slots;
}

constexpr SpellingSlots SPELLING_SLOTS = PlaceSpellings();

constexpr bool SpellingsHaveSlotsOfTheirOwn()
{
    for (size_t i = 0; i < UNIT_ALIAS_COUNT; ++i) {
        if (SPELLING_SLOTS.rows[Slot(PACKED_SPELLINGS.rows[i])] != i + 1) return false;
    }
    return UNIT_ALIAS_COUNT < 255;
}
static_assert(SpellingsHaveSlotsOfTheirOwn(), "SLOT_MULTIPLIER must give every spelling a slot");

// The conversion of the spelling packed, or UNIT_NOT_FOUND.
int FindPacked(const PackedText& packed)
{
    if (packed.length == 0 || packed.length > UNIT_SPELLING_MAX) return UNIT_NOT_FOUND;
    const size_t entry = SPELLING_SLOTS.rows[Slot(packed)];
    if (entry == 0) return UNIT_NOT_FOUND;
    const PackedText& row = PACKED_SPELLINGS.rows[entry - 1];
    const bool found = row.words[0] == packed.words[0] && row.words[1] == packed.words[1] &&
                       row.words[2] == packed.words[2];
    return found ? UnitAliasTable[entry - 1].conversion : UNIT_NOT_FOUND;
}

// FindPacked, and where that finds nothing, the text without its final dot ("5 ft.", "2 lbs.").
int FindPackedOrUndotted(PackedText packed, char last)
{
    const int found = FindPacked(packed);
    if (found != UNIT_NOT_FOUND || last != '.' || packed.length > PACKED_BYTES) return found;
    --packed.length;
    packed.words[packed.length / 8] &= ~(uint64_t{0xFF} << (56 - 8 * (packed.length % 8)));
    return FindPacked(packed);
}

}  // namespace

const PaddedTarget* const PaddedTargets = PADDED_TARGETS.rows;

int LookupSpelling(const char* begin, const char* end)
{
    return begin == end ? UNIT_NOT_FOUND : FindPackedOrUndotted(Pack(begin, end), end[-1]);
}

int TrimAndLookupUnit(char* text, char** first)
{
    char* start = text;
    while (IsWhiteSpace(*start)) ++start;
    // Trims and packs in one pass: white space is packed only once something follows it.
    char* end = text;  // after the last character that is not white space; text when none is
    bool spaced = false;
    PackedText packed{};
    for (char* p = start; *p != '\0'; ++p) {
        if (IsWhiteSpace(*p)) {
            spaced = true;
            continue;
        }
        if (spaced) PackByte(&packed, ' ');
        spaced = false;
        PackByte(&packed, *p);
        end = p + 1;
    }
    *end = '\0';
    *first = end == text ? text : start;
    return end == text ? UNIT_NOT_FOUND : FindPackedOrUndotted(packed, end[-1]);
}
