// Whole conversions, from the input line to the exact bytes the user sees.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "convert.h"

namespace {

const char* const NONE = nullptr;

struct Case {
    const char* input;
    const char* result;  // NONE: no result
};

void ExpectConversions(const Case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        char text[128];
        std::strcpy(text, cases[i].input);
        const char* result = ConvertExpression(text);
        if (cases[i].result == NONE) {
            EXPECT_EQ(result, nullptr) << '"' << cases[i].input << "\" gave \"" << result << '"';
        } else {
            ASSERT_NE(result, nullptr) << cases[i].input;
            EXPECT_STREQ(result, cases[i].result) << cases[i].input;
        }
    }
}

TEST(ConvertExpression, GivesTheWorkedResults)
{
    const Case cases[] = {
        {"5 ft", "1.52 m"},      {"5'10", "1.78 m"},    {"2 kg", "4.41 lbs"},
        {"1 mile", "1.61 km"},   {"10 l", "2.20 gal"},  {"12\"", "30.48 cm"},
        {"1 hp", "0.75 kw"},     {"1 acre", "0.40 ha"}, {"3 st", "19.05 kg"},
        {"100 c", "212\xB0 F"},  {"212 f", "100\xB0 C"}, {"-40 f", "-40\xB0 C"},
        {"98.6 f", "37\xB0 C"},  {"32 f", "0\xB0 C"},   {"100 ha", "247.10 acre"},
        {"1.52 m", "4.99 ft"},   {"36.5 c", "98\xB0 F"}, {"1 mph", "1.61 km/h"},
        {"1 oz", "28.35 gr"},    {"1 kmh", "0.62 mph"}, {"1000 mg", "0.04 oz"},
    };
    ExpectConversions(cases, sizeof cases / sizeof cases[0]);
}

TEST(ConvertExpression, ReadsFeetAndInches)
{
    const Case cases[] = {
        {"5'10\"", "1.78 m"},  {"5' 10", "1.78 m"},   {"5 '10", NONE},
        {"5'10 cm", "1.78 m"}, {"-5'10", "-1.27 m"},  {"5'-10", "1.27 m"},
        {"5e'10", "1.78 m"},   {"5e2'10", "152.65 m"}, {"5d2'10", NONE},
        {"6'", "1.83 m"},      {" 5'10", "1.78 m"},   {"5'x", NONE},
        {"1e400'5", "inf m"},  {"-1e400'5", "-inf m"}, {"1e400'-1e400", "nan m"},
        {"0'-0.001", "-0.00 m"},
    };
    ExpectConversions(cases, sizeof cases / sizeof cases[0]);
}

TEST(ConvertExpression, ReadsANumberAndAUnit)
{
    const Case cases[] = {
        {"5ft", "1.52 m"},     {"  5  FT  ", "1.52 m"}, {"5\tft\r\n", "1.52 m"},
        {"1d3 ft", "304.80 m"}, {"5dram", "8.86 g"},    {"5e ft", NONE},
        {"5 e", NONE},         {"+5 ft", "1.52 m"},     {".5 ft", "0.15 m"},
        {"5. ft", "1.52 m"},   {"- 5 ft", NONE},        {". ft", NONE},
        {"-ft", NONE},         {"0x10 ft", NONE},       {"inf ft", NONE},
        {"nan ft", NONE},      {"ft", "0.00 m"},        {"c", "32\xB0 F"},
        {"5", NONE},           {"", NONE},              {"   ", NONE},
        {"5 ft 3", NONE},      {"1,5 kg", NONE},        {"100 C", "212\xB0 F"},
        {"32 F", "0\xB0 C"},   {"31.5 f", "-0\xB0 C"},   {"-0.001 ft", "-0.00 m"},
        {"1e400 ft", NONE},    {"1e-400 ft", "0.00 m"}, {"-1e-400 ft", "0.00 m"},
        {"-1e400 ft", "-inf m"}, {"1e308 in", "inf cm"},
        {"1e20 ft", "30480000376701354000.00 m"},
        {"212\xB0 F", NONE},   {"5 \xB0" "F", NONE},    {"5 kilometer.", NONE},
    };
    ExpectConversions(cases, sizeof cases / sizeof cases[0]);
}

// Each product is rounded to double before the sum: x87 extended precision gives other digits
// here, which is what the i386 run of these tests guards against.
TEST(ConvertExpression, RoundsEveryOperationToDouble)
{
    const Case cases[] = {
        {"44835716550529968 f", "24908732604701948\xB0 C"},
        {"2.9536475800736186e+17 c", "531656550329162240\xB0 F"},
        {"35430382933098368'15358116999.15168", "10799181108104556.00 m"},
        {"5.032475958040192e+17'13167047809011.385", "153390201644079390.00 m"},
    };
    ExpectConversions(cases, sizeof cases / sizeof cases[0]);
}

TEST(ConvertExpression, TrimsTheCallersTextOnlyOnTheNumberPath)
{
    const struct {
        const char* input;
        const char* after;
    } cases[] = {
        {"5 ft  \t", "5 ft"}, {" \t\r\n", ""}, {"5   ", "5"},
        {"5'10  ", "5'10  "},            // feet and inches: untouched
        {"1e400 ft  ", "1e400 ft  "},    // positive overflow: untouched
    };
    for (const auto& c : cases) {
        char text[32];
        std::strcpy(text, c.input);
        ConvertExpression(text);
        EXPECT_STREQ(text, c.after) << '"' << c.input << '"';
    }
    EXPECT_EQ(ConvertExpression(nullptr), nullptr);
}

TEST(ConvertExpression, FitsTheLongestResultInItsBuffer)
{
    char text[] = "-7e307 ha";  // 309 integer digits, a sign and the longest target text
    const char* result = ConvertExpression(text);
    ASSERT_NE(result, nullptr);
    const std::string expected = "-17296762" + std::string(301, '0') + ".00 acre";
    EXPECT_EQ(std::strncmp(result, "-1729676", 8), 0) << result;
    EXPECT_EQ(std::strlen(result), expected.size());
    EXPECT_LT(std::strlen(result), RESULT_TEXT_SIZE);
}

TEST(ConvertForDisplay, SaysDontKnowOnlyForTextLeftAfterTrimming)
{
    const Case cases[] = {
        {"5 ft", "1.52 m"}, {"5", "don't know"}, {"\"5 ft\"", "don't know"},
        {"", ""},           {" \t ", ""},        {"-B 5 ft", "don't know"},
    };
    for (const Case& c : cases) {
        char text[32];
        std::strcpy(text, c.input);
        EXPECT_STREQ(ConvertForDisplay(text), c.result) << '"' << c.input << '"';
    }
}

}  // namespace
