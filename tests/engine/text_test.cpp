// Trimming, bounded copying and case folding: the text rules both the engine and the shell use.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text.h"

namespace {

TEST(TrimSpace, CutsTheSixWhiteSpaceCharactersOnly)
{
    const struct {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {"", ""},
        {"5 ft", "5 ft"},
        {" \t\n\v\f\r5 ft \t\n\v\f\r", "5 ft"},
        {" \t \r\n", ""},
        {"\xA0" "5\xA0", "\xA0" "5\xA0"},  // no byte of 0x80 or above is white space
        {"a  b", "a  b"},
    };
    for (const auto& c : cases) {
        char buffer[32];
        std::strcpy(buffer, c.text);
        EXPECT_STREQ(TrimSpace(buffer), c.trimmed) << '"' << c.text << '"';
    }
    EXPECT_EQ(TrimSpace(nullptr), nullptr);
}

TEST(TrimSpace, EmptiesABlankTextInPlace)
{
    char buffer[] = "  \t ";
    TrimSpace(buffer);
    EXPECT_EQ(buffer[0], '\0');
}

TEST(BoundedCopy, CopiesAtMostNAndAlwaysTerminatesAtN)
{
    const struct {
        const char* source;
        size_t n;
        std::string expected;  // the n + 1 bytes of dest
    } cases[] = {
        {"5 ft", 80, std::string("5 ft")},
        {"abcdef", 3, std::string("abc")},
        {"abc", 0, std::string()},
        {"ab", 4, std::string("ab\0\0", 4)},
    };
    for (const auto& c : cases) {
        char dest[96];
        std::memset(dest, 'x', sizeof dest);
        EXPECT_EQ(BoundedCopy(dest, c.source, c.n), dest);
        EXPECT_EQ(dest[c.n], '\0');
        EXPECT_STREQ(dest, c.expected.c_str());
        EXPECT_EQ(dest[c.n + 1], 'x') << "wrote past n + 1 bytes";
    }
}

TEST(BoundedCopy, LeavesDestUntouchedWithoutSource)
{
    char dest[] = "keep";
    EXPECT_EQ(BoundedCopy(dest, nullptr, 3), dest);
    EXPECT_STREQ(dest, "keep");
    EXPECT_EQ(BoundedCopy(nullptr, "text", 3), nullptr);
}

TEST(CompareNoCase, FoldsOnlyAsciiLettersAndOrdersPrefixesFirst)
{
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"FT", "ft", 0}, {"km", "km/h", -1}, {"km/h", "kmh", -1}, {"Z", "[", 1},
        {"\xC0", "\xE0", -1},  // accented letters are not folded
        {"\xB0", "z", 1},      // bytes compare unsigned
        {"", "", 0},
    };
    for (const auto& c : cases) {
        const int result = CompareNoCase(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

}  // namespace
