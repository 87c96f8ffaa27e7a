// The two number readers and the fixed-point printing, where C libraries disagree most.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "numbers.h"

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();

// Same value, zero's sign included.
::testing::AssertionResult SameDouble(double actual, double expected)
{
    if (std::memcmp(&actual, &expected, sizeof actual) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual << ", expected " << expected;
}

// 1 + 2^-53, the tie between 1 and the next double, written out exactly.
const std::string HALF_WAY_ABOVE_ONE = "1.00000000000000011102230246251565404236316680908203125";

TEST(ReadPlainNumber, ReadsTheProgramsOwnSyntax)
{
    const struct {
        std::string text;
        size_t consumed;
        double value;
    } cases[] = {
        {"5 ft", 1, 5.0},          {" \t5", 3, 5.0},        {"+5", 2, 5.0},
        {"-5", 2, -5.0},           {".5", 2, 0.5},          {"5.", 2, 5.0},
        {"-.5", 3, -0.5},          {"- 5", 0, 0.0},         {".", 0, 0.0},
        {"-ft", 0, 0.0},           {"+.e", 0, 0.0},         {"1d3", 3, 1000.0},
        {"1D-2", 4, 0.01},         {"2E+2", 4, 200.0},      {"5dram", 1, 5.0},
        {"5e", 1, 5.0},            {"5e+", 1, 5.0},         {"5e ft", 1, 5.0},
        {"0x10", 1, 0.0},          {"inf", 0, 0.0},         {"nan", 0, 0.0},
        {"1,5", 1, 1.0},           {"1e400", 5, INF},       {"-1e400", 6, -INF},
        {"1e-400", 6, 0.0},        {"-1e-400", 7, 0.0},     {"-1e-310", 7, 0.0},
        {"-0", 2, -0.0},           {"2.2250738585072014e-308", 23, DBL_MIN},
        {"1e99999999999999999999", 22, INF},
        {"0.3048", 6, 0.3048},     {"1.115", 5, 1.115},
        {"0." + std::string(500, '0') + "1e501", 507, 1.0},
        {HALF_WAY_ABOVE_ONE, HALF_WAY_ABOVE_ONE.size(), 1.0},  // tie: to even
        {HALF_WAY_ABOVE_ONE + std::string(900, '0') + "1", HALF_WAY_ABOVE_ONE.size() + 901,
         1.0 + DBL_EPSILON},  // a digit far beyond the kept ones still breaks the tie
    };
    for (const auto& c : cases) {
        double value = 123.0;
        const char* end = ReadPlainNumber(c.text.c_str(), &value);
        EXPECT_EQ(static_cast<size_t>(end - c.text.c_str()), c.consumed) << c.text;
        EXPECT_TRUE(SameDouble(value, c.value)) << c.text;
    }
}

TEST(ReadScannedNumber, TakesADanglingExponentLetterAndKeepsTinySigns)
{
    const struct {
        const char* text;
        int consumed;  // -1: no number
        double value;
    } cases[] = {
        {"5'10", 1, 5.0},    {"5e'10", 2, 5.0},  {"5e+'", 3, 5.0},     {"5E-x", 3, 5.0},
        {"5e2'", 3, 500.0},  {"5d2'", 1, 5.0},   {"  -.5", 5, -0.5},   {"+5.", 3, 5.0},
        {".", -1, 0.0},      {"-", -1, 0.0},     {"+-5", -1, 0.0},     {"e5", -1, 0.0},
        {"1e400", 5, INF},   {"-1e-400", 7, -0.0}, {"\t\n7", 3, 7.0},
    };
    for (const auto& c : cases) {
        double value = 123.0;
        const char* end = ReadScannedNumber(c.text, &value);
        if (c.consumed < 0) {
            EXPECT_EQ(end, nullptr) << c.text;
            EXPECT_EQ(value, 123.0) << c.text;
            continue;
        }
        ASSERT_NE(end, nullptr) << c.text;
        EXPECT_EQ(end - c.text, c.consumed) << c.text;
        EXPECT_TRUE(SameDouble(value, c.value)) << c.text;
    }
}

TEST(FormatFixed, RoundsSeventeenDigitsHalfAwayFromZero)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {1.115, 2, "1.12"},       // 1.11499999999999999 rounds on its 17 digits, 1.1150000000000000
        {0.125, 2, "0.13"},       // an exact tie goes away from zero
        {-0.125, 2, "-0.13"},
        {36.5, 0, "37"},          {0.5, 0, "1"},           {2.5, 0, "3"},
        {-0.5, 0, "-1"},          {0.49999999999999994, 0, "0"},
        {0.005, 2, "0.01"},       {0.0049, 2, "0.00"},     {9.995, 2, "9.99"},
        {99.995, 2, "100.00"},    {999.999, 2, "1000.00"},
        {-0.001, 2, "-0.00"},     {-0.2, 0, "-0"},         {-0.0, 2, "-0.00"},
        {0.0, 2, "0.00"},         {0.0, 0, "0"},           {1e-300, 2, "0.00"},
        {123456789012345678.0, 0, "123456789012345680"},
        {30480000376701355000.0, 2, "30480000376701354000.00"},
        {INF, 2, "inf"},          {-INF, 0, "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), 2, "nan"},
        {-std::numeric_limits<double>::quiet_NaN(), 2, "nan"},
    };
    for (const auto& c : cases) {
        char text[FIXED_TEXT_MAX + 1];
        const size_t length = FormatFixed(text, sizeof text, c.value, c.decimals);
        EXPECT_STREQ(text, c.text) << c.value;
        EXPECT_EQ(length, std::strlen(c.text));
    }
}

TEST(FormatFixed, PrintsTheLargestDoubleWithZerosAfterSeventeenDigits)
{
    char text[FIXED_TEXT_MAX + 1];
    EXPECT_EQ(FormatFixed(text, sizeof text, -DBL_MAX, 2), FIXED_TEXT_MAX);
    const std::string expected = "-17976931348623157" + std::string(292, '0') + ".00";
    EXPECT_EQ(text, expected);
}

TEST(FormatFixed, NeverWritesPastTheGivenSize)
{
    char text[8];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(FormatFixed(text, 5, 1234567.0, 2), 4u);
    EXPECT_STREQ(text, "1234");
    EXPECT_EQ(text[5], 'x');
    EXPECT_EQ(FormatFixed(text, 0, 1.0, 2), 0u);
    EXPECT_EQ(text[0], '1');
}

}  // namespace
