// The unit tables against the published list of factors and spellings, and the lookup rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "text.h"
#include "units.h"

namespace {

struct FactorRow {
    const char* target;
    double decimal;  // shortest decimal that gives the single value back
    uint32_t bits;
};

const FactorRow EXPECTED_FACTORS[CONVERSION_COUNT] = {
    {"in", 0.03937008, 0x3D214285},   {"in", 0.39370078, 0x3EC99326},
    {"ft", 3.28084, 0x4051F948},      {"mls", 0.6213882, 0x3F1F134C},
    {"acre", 2.470966, 0x401E244F},   {"ci", 0.061023746, 0x3D79F409},
    {"gal", 0.21995908, 0x3E613CF4},  {"mph", 0.6213882, 0x3F1F134C},
    {"oz", 3.527399e-05, 0x3813F329}, {"oz", 0.03527399, 0x3D107B76},
    {"lbs", 2.2045856, 0x400D17EE},   {"hp", 1.3410219, 0x3FABA69B},
    {"\xB0 F", 1.8, 0x3FE66666},      {"cm", 2.54, 0x40228F5C},
    {"m", 0.3048, 0x3E9C0EBF},        {"m", 0.9144, 0x3F6A161E},
    {"km", 1.6093, 0x3FCDFD8B},       {"ha", 0.40468565, 0x3ECF32F5},
    {"ha", 0.10117141, 0x3DCF32F5},   {"cc", 16.387064, 0x418318B5},
    {"l", 4.5463, 0x40917B4A},        {"l", 0.568261, 0x3F11798E},
    {"l", 1.13652, 0x3F91797D},       {"l", 0.142065, 0x3E11797D},
    {"l", 9.09218, 0x41117992},       {"l", 36.3687, 0x4211798C},
    {"km/h", 1.6093, 0x3FCDFD8B},     {"mg", 64.7989, 0x42819909},
    {"g", 1.77185, 0x3FE2CBFB},       {"gr", 28.3495, 0x41E2CBC7},
    {"kg", 0.4536, 0x3EE83E42},       {"kg", 6.35029, 0x40CB3593},
    {"kg", 12.7006, 0x414B35A8},      {"kg", 45.3592, 0x42356FD2},
    {"kg", 50.8023, 0x424B358E},      {"kw", 0.7457, 0x3F3EE632},
    {"\xB0 C", 0.5555556, 0x3F0E38E4},
};

TEST(ConversionTable, FactorsAreTheExactSingleValuesOfTheirBits)
{
    for (int i = 0; i < CONVERSION_COUNT; ++i) {
        SCOPED_TRACE(i);
        const FactorRow& want = EXPECTED_FACTORS[i];
        uint32_t bits = 0;
        std::memcpy(&bits, &ConversionTable[i].factor, sizeof bits);
        EXPECT_EQ(bits, want.bits);
        EXPECT_EQ(ConversionTable[i].factor, static_cast<float>(want.decimal));
        EXPECT_STREQ(ConversionTable[i].target, want.target);
    }
}

// Every spelling with its conversion, in table order, as the program documents them.
const UnitAlias EXPECTED_SPELLINGS[] = {
    {13, "\""}, {14, "'"}, {17, "acre"}, {17, "acres"}, {25, "bushel"}, {25, "bushels"},
    {12, "c"}, {5, "cc"}, {12, "celsius"}, {12, "centigrade"}, {1, "centimeter"},
    {1, "centimeters"}, {1, "centimetre"}, {1, "centimetres"}, {33, "central"},
    {33, "centrals"}, {19, "ci"}, {1, "cm"}, {34, "cwt"}, {28, "dram"}, {28, "drams"},
    {36, "f"}, {36, "fahrenheit"}, {14, "feet"}, {14, "foot"}, {14, "ft"}, {9, "g"},
    {20, "gal"}, {20, "gallon"}, {20, "gallons"}, {23, "gill"}, {23, "gills"}, {9, "gr"},
    {27, "grain"}, {27, "grains"}, {9, "gram"}, {9, "grams"}, {4, "ha"}, {4, "hectare"},
    {4, "hectaren"}, {4, "hectares"}, {35, "hp"}, {34, "hundredweight"},
    {34, "hundredweights"}, {13, "in"}, {13, "inch"}, {13, "inches"}, {10, "kg"},
    {10, "kilo"}, {10, "kilogram"}, {10, "kilograms"}, {3, "kilometer"}, {3, "kilometers"},
    {3, "kilometre"}, {3, "kilometres"}, {11, "kilowatt"}, {11, "kilowatts"}, {3, "km"},
    {7, "km/h"}, {7, "kmh"}, {11, "kw"}, {6, "l"}, {30, "lb"}, {30, "lbs"}, {6, "liter"},
    {6, "liters"}, {2, "m"}, {2, "meter"}, {2, "meters"}, {2, "metre"}, {2, "metres"},
    {8, "mg"}, {8, "mgr"}, {16, "mile"}, {16, "miles"}, {8, "milligram"}, {8, "milligrams"},
    {0, "millimeter"}, {0, "millimeters"}, {0, "millimetre"}, {0, "millimetres"},
    {16, "mls"}, {0, "mm"}, {26, "mph"}, {29, "ounce"}, {29, "ounces"}, {29, "oz"},
    {29, "ozs"}, {24, "peck"}, {24, "pecks"}, {21, "pint"}, {21, "pints"}, {30, "pound"},
    {30, "pounds"}, {32, "qr"}, {22, "qt"}, {22, "quart"}, {32, "quarter"},
    {32, "quarters"}, {22, "quarts"}, {18, "rood"}, {18, "roods"}, {31, "st"},
    {31, "stone"}, {31, "stones"}, {15, "yard"}, {15, "yards"}, {15, "yd"}, {15, "yds"},
};
static_assert(sizeof EXPECTED_SPELLINGS / sizeof EXPECTED_SPELLINGS[0] == UNIT_ALIAS_COUNT,
              "109 spellings");

TEST(UnitAliasTable, HoldsEverySpellingSortedUniqueAndLowerCase)
{
    int spellingsPerConversion[CONVERSION_COUNT] = {};
    for (int i = 0; i < UNIT_ALIAS_COUNT; ++i) {
        const UnitAlias& row = UnitAliasTable[i];
        SCOPED_TRACE(row.spelling);
        EXPECT_STREQ(row.spelling, EXPECTED_SPELLINGS[i].spelling);
        EXPECT_EQ(row.conversion, EXPECTED_SPELLINGS[i].conversion);
        ASSERT_GE(row.conversion, 0);
        ASSERT_LT(row.conversion, CONVERSION_COUNT);
        ++spellingsPerConversion[row.conversion];
        for (const char* p = row.spelling; *p != '\0'; ++p) {
            EXPECT_FALSE(*p >= 'A' && *p <= 'Z');
        }
        if (i > 0) {
            EXPECT_LT(CompareNoCase(UnitAliasTable[i - 1].spelling, row.spelling), 0);
        }
    }
    for (int count : spellingsPerConversion) EXPECT_GT(count, 0);
}

TEST(LookupUnit, FindsEverySpellingInAnyLetterCase)
{
    for (const UnitAlias& row : EXPECTED_SPELLINGS) {
        char upper[32] = {};
        for (size_t i = 0; row.spelling[i] != '\0'; ++i) {
            const char c = row.spelling[i];
            upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        EXPECT_EQ(LookupUnit(row.spelling), row.conversion) << row.spelling;
        EXPECT_EQ(LookupUnit(upper), row.conversion) << upper;
    }
}

TEST(LookupUnit, MatchesWholeSpellingsOnly)
{
    const struct {
        const char* text;
        int conversion;
    } cases[] = {
        {"Ft", 14},      {"kM/h", 7},  {"km/", UNIT_NOT_FOUND},   {"litre", UNIT_NOT_FOUND},
        {"litres", UNIT_NOT_FOUND},    {"ml", UNIT_NOT_FOUND},    {"inchs", UNIT_NOT_FOUND},
        {"kilometer.", UNIT_NOT_FOUND}, {"sq ft", UNIT_NOT_FOUND}, {"\xB0 F", UNIT_NOT_FOUND},
        {"ft ", UNIT_NOT_FOUND},       {"", UNIT_NOT_FOUND},      {"\xC6T", UNIT_NOT_FOUND},
        {"zz", UNIT_NOT_FOUND},        {"!", UNIT_NOT_FOUND},
    };
    for (const auto& c : cases) EXPECT_EQ(LookupUnit(c.text), c.conversion) << c.text;
}

}  // namespace
