// The shell's pure text rules: message folding and the first line of a pasted block. Built for
// Windows and natively.
#include "textrules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string Prefix34 = "The quick brown fox jumps over the";  // 34 characters
const std::string Words20 = "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd "
                            "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd";

const struct {
    const char* name;
    std::string text;
    std::string shown;
} FoldCases[] = {
    {"sixty characters break at column 35", Prefix34 + " abcdefghijklmnopqrstuvwxy",
     Prefix34 + "\nabcdefghijklmnopqrstuvwxy"},
    {"an early line feed restarts the count", std::string(30, 'a') + "\nbb bb bb bb bb bb bb bb bb bb bb bb",
     std::string(30, 'a') + "\nbb bb bb bb bb bb bb bb bb bb bb bb"},
    {"a space in column 41 is the break", std::string(40, 'x') + " tail", std::string(40, 'x') + "\ntail"},
    {"every line is folded", Words20,
     "abcd abcd abcd abcd abcd abcd abcd abcd\nabcd abcd abcd abcd abcd abcd abcd abcd\nabcd abcd abcd abcd"},
    {"an unbreakable line stops all folding", "abc " + std::string(45, 'z') + " tail " + Words20,
     "abc\n" + std::string(45, 'z') + " tail " + Words20},
    {"a tab is a break and one column", std::string(38, 'a') + "\tbbbbb", std::string(38, 'a') + "\nbbbbb"},
    {"a carriage return counts as a column", std::string(20, 'a') + "\r" + std::string(19, 'b') + " c",
     std::string(20, 'a') + "\r" + std::string(19, 'b') + "\nc"},
    {"forty characters stay", std::string(20, 'a') + " " + std::string(19, 'b'),
     std::string(20, 'a') + " " + std::string(19, 'b')},
    {"empty", "", ""},
};

TEST(FoldMessageText, FoldsAtFortyColumns)
{
    for (const auto& c : FoldCases) {
        std::string text = c.text;
        FoldMessageText(&text[0]);
        EXPECT_EQ(text, c.shown) << c.name;
    }
}

// Blocks may hold bytes past size: a line feed or terminator there must never be looked at.
const struct {
    const char* name;
    std::string block;
    size_t size;
    size_t length;
} LineCases[] = {
    {"CR LF ends the line", "5 ft\r\n2 kg\r\n", 12, 4},
    {"a bare line feed", "5 ft\n2 kg", 9, 4},
    {"leading CR LF gives an empty line", "\r\n5 ft", 6, 0},
    {"no line feed: taken whole", "5 ft", 4, 4},
    {"unterminated block stops at its size", "5 ftXXXXXXXX\n", 4, 4},
    {"a line feed just past the size is not seen", "ab\r\n", 3, 3},
    {"a terminator ends the text", std::string("ab\0cd\n", 6), 6, 2},
    {"only one carriage return goes", "a\r\r\n", 4, 2},
    {"empty block", "", 0, 0},
};

TEST(FirstLineLength, StopsAtLineFeedTerminatorOrSize)
{
    for (const auto& c : LineCases) EXPECT_EQ(FirstLineLength(c.block.data(), c.size), c.length) << c.name;
    EXPECT_EQ(FirstLineLength(nullptr, 5), 0u);
}

}  // namespace
