// The engine from the input line to the exact bytes the window shows, and the unit tables by
// their invariants. The same table runs natively, under ASan/UBSan, as i386 and under Wine.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "convert.h"
#include "unicode.h"
#include "units.h"

namespace {

const char* const DK = "don't know";

// An input, what ConvertForDisplay gives, and the caller's text afterwards where that matters.
struct Row {
    std::string input, shown;
    const char* after = nullptr;
};

const Row Rows[] = {
    // Worked results.
    {"5 ft", "1.52 m"}, {"5'10", "1.78 m"}, {"2 kg", "4.41 lbs"}, {"1 mile", "1.61 km"}, {"10 l", "2.20 gal"},
    {"12\"", "30.48 cm"}, {"1 hp", "0.75 kw"}, {"1 acre", "0.40 ha"}, {"3 st", "19.05 kg"}, {"100 c", "212\xB0 F"},
    {"212 f", "100\xB0 C"}, {"-40 f", "-40\xB0 C"}, {"98.6 f", "37\xB0 C"}, {"32 f", "0\xB0 C"},
    {"100 ha", "247.10 acre"}, {"1.52 m", "4.99 ft"},
    // Spellings: any letter case of A-Z, the whole text, nothing folded beyond A-Z.
    {"1 FT", "0.30 m"}, {"1 kM/H", "0.62 mph"}, {"1 HECTAREN", "2.47 acre"}, {"1 km/", DK}, {"1 litre", "0.22 gal"},
    {"1 ml", DK}, {"1 inchs", DK}, {"5 kilometer.", "3.11 mls"}, {"1 sq ft", DK}, {"5 \xC6T", DK},
    {"1 zz", DK}, {"1 !", DK},
    // More spellings (each is found in any case, spaced and dotted by the invariants below), and
    // one final dot at most.
    {"10 litres", "2.20 gal"}, {"60 miles per hour", "96.56 km/h"}, {"5 ft.", "1.52 m"}, {"2 lbs.", "0.91 kg"},
    {"5 ft..", DK}, {"5 .", DK}, {"5 ft .", DK}, {"1 milesper hour", DK},
    // A degree marker before a temperature, and nothing else.
    {"100 \xB0" "C", "212\xB0 F"}, {"100\xB0" "C", "212\xB0 F"}, {"100 \xB0 c", "212\xB0 F"}, {"212\xB0 F", "100\xB0 C"},
    {"100 degrees C", "212\xB0 F"}, {"100 degC", "212\xB0 F"}, {"100 deg F", "38\xB0 C"}, {"\xB0" "C", "32\xB0 F"},
    {"-40 degrees fahrenheit", "-40\xB0 C"}, {"100 DEGREES Celsius.", "212\xB0 F"}, {"100 degreesc", "212\xB0 F"},
    {"100 \xB0", DK}, {"100 degrees", DK}, {"100 \xB0 ft", DK}, {"100 deg. C", DK}, {"100 \xB0\xB0" "C", DK},
    // Two amounts: feet then inches, stone then pounds.
    {"5 ft 10 in", "1.78 m"}, {"5ft10in", "1.78 m"}, {"5 ft 10", "1.78 m"}, {"5 feet 10 inches", "1.78 m"},
    {"5 FT 10 IN", "1.78 m"}, {"5 ' 10", "1.78 m"}, {"5 ft. 10 in.", "1.78 m"}, {"5 ft 10.5 in", "1.79 m"},
    {"5 ft .5 in", "1.54 m"}, {"5 ft 3", "1.60 m"}, {"5 ft 1d1\"", "1.78 m"},
    {"11 st 4 lb", "71.67 kg"}, {"11st 4", "71.67 kg"}, {"11 stone 4 pounds", "71.67 kg"},
    // The second amount takes the first's sign, as written ("-0" too).
    {"-5 ft 10 in", "-1.78 m"}, {"-11 st 4 lb", "-71.67 kg"}, {"-0 ft 10 in", "-0.25 m"}, {"-1e-400 ft 10 in", "-0.25 m"},
    // Pounds and ounces: sixteen to the pound, by the pound's factor.
    {"7 lb 8 oz", "3.40 kg"}, {"7lb 8oz", "3.40 kg"}, {"7 pounds 8 ounces", "3.40 kg"}, {"7 lbs. 8 oz.", "3.40 kg"},
    {"7 lb 8", "3.40 kg"}, {"8 lbs 3 1/2 oz", "3.73 kg"}, {"-7 lb 8 oz", "-3.40 kg"}, {"7 lb -8 oz", DK},
    {"7 lb 8 gr", DK}, {"1000 lb", "453.60 kg"}, {"7 lb 8 oz 1", DK},
    {"5 ft 10 cm", DK}, {"5 ft -10 in", DK}, {"5 ft 10 in x", DK}, {"11 st 4 oz", DK}, {"1 mile 10 yd", DK},
    {"ft 10 in", DK}, {"5ft.10in", DK}, {"5 ft 1e400 in", DK}, {"5 ft 10 in..", DK}, {"5 ft 10 st", DK},
    // Fractions and mixed numbers.
    {"1/2 in", "1.27 cm"}, {"1 1/2 in", "3.81 cm"}, {"3/4 mile", "1.21 km"}, {"-1 1/2 ft", "-0.46 m"},
    {"10/4 c", "36\xB0 F"}, {"5 ft 10 1/2 in", "1.79 m"}, {"1/0 in", DK}, {"1 / 2 in", DK}, {"1.5/2 in", DK},
    {"1/2.5 in", DK}, {"1 1/0 in", DK}, {"1e1/2 in", DK}, {"1 1/2", DK},
    // A fraction after whole inches belongs to them.
    {"5'10 1/2", "1.79 m"}, {"5' 10 1/2\"", "1.79 m"}, {"5'1/2", "1.54 m"}, {"5'10 1/0", "1.78 m"},
    {"5'10.0 1/2", "1.78 m"}, {"5'10 1/2.", "1.79 m"}, {"5'1/2.", "1.54 m"}, {"5'1/2.5", "1.54 m"}, {"1/2. in", DK},
    // A hyphen joins whole inches and their fraction, as plans and sports write them.
    {"6'3-6/8\"", "1.92 m"}, {"5'10-1/2\"", "1.79 m"}, {"5'-10-1/2", "1.79 m"}, {"6'3-6/0", "1.91 m"},
    {"6'3 - 6/8", "1.91 m"}, {"6'3--6/8", "1.91 m"}, {"2-1/2 in", DK}, {"5 ft 10-1/2 in", DK},
    // A sign before the inches separates them, as drawings write it; the feet's sign is the whole
    // value's.
    {"5'-10\"", "1.78 m"}, {"5' -10", "1.78 m"}, {"5'+10", "1.78 m"}, {"12'-6 1/2\"", "3.82 m"}, {"-5'10", "-1.78 m"},
    {"-5' 10\"", "-1.78 m"}, {"-5'-10", "-1.78 m"}, {"-0'10", "-0.25 m"}, {"-0'-1e-400", "-0.00 m"}, {"5'- 10", DK},
    {"5'--10", DK}, {"1e400'-1e400", "inf m"}, {"-1e400'-1e400", "-inf m"},
    // Feet and inches: the scanned numbers, and everything after the second ignored.
    {"5'10\"", "1.78 m"}, {"5' 10", "1.78 m"}, {"5 '10", "1.78 m"}, {"5'10 cm", "1.78 m"}, {"5e'10", "1.78 m"},
    {"5e2'10", "152.65 m"}, {"5E-'10", "1.78 m"}, {"5d2'10", "152.65 m"}, {"5'1e400", "inf m"},
    {"6'", "1.83 m"}, {"\t\n5'10", "1.78 m"}, {"5'x", DK}, {"1e400'5", "inf m"}, {"-1e400'5", "-inf m"},
    // The plain number: its syntax, and what is left for the unit.
    {"5ft", "1.52 m"}, {"  5  FT  ", "1.52 m"}, {" \t\n\v\f\r5 ft \t\n\v\f\r", "1.52 m"}, {"\xA0" "5 ft", DK},
    {"5 ft\xA0", DK}, {"1d3 ft", "304.80 m"}, {"1D-2 in", "0.03 cm"}, {"2E+2 in", "508.00 cm"}, {"5dram", "8.86 g"},
    {"5e ft", DK}, {"5e+ ft", DK}, {"5 e", DK}, {"+5 ft", "1.52 m"}, {".5 ft", "0.15 m"}, {"5. ft", "1.52 m"},
    {"-.5 ft", "-0.15 m"}, {"- 5 ft", DK}, {". ft", DK}, {"-ft", DK}, {"+.e ft", DK}, {"0x10 ft", DK},
    {"inf ft", DK}, {"nan ft", DK}, {"ft", "0.00 m"}, {"c", "32\xB0 F"}, {"5", DK}, {"1,5 kg", DK}, {"1,500 ft", DK},
    {"1e400 ft", DK}, {"1e99999999999999999999 ft", DK}, {"1e-400 ft", "0.00 m"}, {"-1e-400 ft", "0.00 m"},
    {"-1e-310 ft", "0.00 m"}, {"-1e400 ft", "-inf m"}, {"1e308 in", "inf cm"},
    {"0." + std::string(500, '0') + "1e501 ft", "0.30 m"},
    // Numbers of any length: digit counts and exponents pulling opposite ways, read exactly.
    {"0." + std::string(200000, '0') + "1e150000 ft", "0.00 m"}, {std::string(200000, '1') + "e-150000 ft", DK},
    {"0." + std::string(100001, '0') + "1e100004 ft", "30.48 m"}, {std::string(200000, '1') + "e-199999 cm", "0.44 in"},
    {std::string(150000, '0') + "1" + std::string(150000, '0') + "e-150000 in", "2.54 cm"},
    {"0." + std::string(200000, '0') + "1e200001'0", "0.30 m"},
    // One rounding on every target: a 32-bit C++ library reads these on the x87 and rounds twice.
    {"7074527477010915e5 ft", "215631600164276760000.00 m"},
    {"809263835636885e8 in", "205553011164672240000000.00 cm"},
    // Printing: 17 significant digits, then half away from zero at the last decimal shown.
    {"28.321000105503945 mm", "1.12 in"}, {"3.175000011827797 mm", "0.13 in"}, {"-3.175000011827797 mm", "-0.13 in"},
    {"0.012700000287652021 cm", "0.01 in"}, {"0.12446000046364962 mm", "0.00 in"},
    {"253.8730009457506 mm", "9.99 in"}, {"253.9873057527528 cm", "100.00 in"},
    {"25399.97469462228 mm", "1000.00 in"}, {"2.500000066227384 c", "37\xB0 F"}, {"32.89999843120582 f", "1\xB0 C"},
    {"-16.38888932304619 c", "3\xB0 F"}, {"31.09999851703651 f", "-1\xB0 C"}, {"31.5 f", "-0\xB0 C"},
    {"-0.001 ft", "-0.00 m"}, {"1e20 ft", "30480000376701354000.00 m"},
    {"-7e307 ha", "-17296762704849243" + std::string(292, '0') + ".00 acre"}, // the longest
    // Each product is rounded to double before the sum: x87 extended precision prints otherwise.
    {"44835716550529968 f", "24908732604701948\xB0 C"}, {"2.9536475800736186e+17 c", "531656550329162240\xB0 F"},
    {"35430382933098368'15358116999.15168", "10799181108104556.00 m"},
    {"5.032475958040192e+17'13167047809011.385", "153390201644079390.00 m"},
    // The caller's text: trimmed in place on the number path only.
    {"5 ft  \t", "1.52 m", "5 ft"}, {" \t\r\n", "", ""}, {"", "", ""}, {"5   ", DK, "5"},
    {"5'10  ", "1.78 m", "5'10  "}, {"1e400 ft  ", DK, "1e400 ft  "}, {"\"5 ft\"", DK},
};

TEST(Engine, ShowsExactlyTheseBytes)
{
    for (const Row& row : Rows) {
        std::string text = row.input;
        EXPECT_EQ(ConvertForDisplay(&text[0]), row.shown) << '"' << row.input.substr(0, 60) << '"';
        EXPECT_STREQ(text.c_str(), row.after ? row.after : text.c_str()) << '"' << row.input << '"';
    }
    EXPECT_EQ(ConvertExpression(nullptr), nullptr);
}

TEST(Engine, UnitTablesKeepTheirInvariants)
{
    for (const UnitAlias& row : UnitAliasTable) {
        const std::string spelling = row.spelling;
        std::string varied;  // in upper case, white space between words doubled, with a final dot
        for (char c : spelling) varied += c == ' ' ? std::string(" \t") : std::string(1, c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        varied += '.';
        // Found as stored and varied (their order, case and reach are checked where the table is).
        EXPECT_EQ(LookupSpelling(spelling.data(), spelling.data() + spelling.size()), row.conversion) << spelling;
        EXPECT_EQ(LookupSpelling(varied.data(), varied.data() + varied.size()), row.conversion) << varied;
    }
}


// Text as typed or pasted, in UTF-8, and the engine's bytes it becomes.
const std::pair<std::string, std::string> Mapped[] = {
    {"5 ft \x7f\xc2\x80\xc2\xa0", "5 ft \x7f\x80 "}, {"\u2018\u2019\u2032\u00b4|\u201c\u201d\u2033", "''''|\"\"\""},
    {"\u00ba\u2103\u2109", "\xB0\xB0" "C\xB0" "F"}, {"\u00bc\u00bd\u00be\u2153\u2154", "1/4 1/2 3/4 1/3 2/3"},
    {"\u215b\u215c\u215d\u215e\u2044\u2212", "1/8 3/8 5/8 7/8/-"},
    // A fraction character is a mixed number's only after a digit (a full-width one, or one before
    // an invisible character, too); invisible characters are dropped.
    {"-\u00be|1\u200b\u00bd|\uff11\u00bc|\u00b9\u00be|x\u215b", "-3/4|1 1/2|1 1/4|\xB9" "3/4|x1/8"}, {"\u2013\u02da", "-\xB0"},
    {"5\u200b\u200c\u200d\u2060\ufeff\u00ad\u200e\u200fft", "5ft"}, {"\u2007\u2009\u202f\u3000|", "    |"},
    {"\uff01\uff15\uff46\uff54\uff5e\uff00\uff5f", "!5ft~??"}, {"\u00e9\u00ff\u0100\u215f\U0001F600", "\xE9\xFF???"},
    // Malformed: a lone continuation, overlong forms, a surrogate, past U+10FFFF, a lead cut short.
    {"\x80|\xc0\x80|\xe0\x80\x80|\xed\xa0\x80|\xf4\x90\x80\x80|\xf5|\xe2\x82", "?|??|???|???|????|?|??"},
};

TEST(Engine, MapsTypedTextToItsOwnBytes)
{
    char out[64];
    for (const auto& [typed, bytes] : Mapped) {
        EXPECT_EQ(MapUtf8(typed.data(), typed.size(), out, sizeof out), bytes.size()) << typed;
        EXPECT_EQ(out, bytes) << typed;
    }
    const std::pair<std::u16string, std::string> utf16[] = {
        {u"5\u2032\u00be\u2033", "5'3/4\""}, {u"\U0001F600x", "?x"}, {u"\xd800x\xdc00", "?x?"}, {u"x\xd83d", "x?"},
    };
    for (const auto& [typed, bytes] : utf16) EXPECT_EQ(std::string(out, MapUtf16(typed.data(), typed.size(), out, sizeof out)), bytes);
    EXPECT_EQ(std::string(out, MapLatin1("\xba\xbc\xb0\xff", 4, out, sizeof out)), "\xB0" "1/4\xB0\xFF");
    // A character whose bytes do not fit is left out whole.
    EXPECT_EQ(MapUtf8("1\u00bd", 3, out, 5), 1u);
    EXPECT_STREQ(out, "1");
    EXPECT_EQ(MapUtf16(u"1\u00bd", 2, out, 6), 5u);
}

}  // namespace
