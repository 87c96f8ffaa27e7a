// The shell's pure text rules: message folding, the first line of a pasted block, and the bounded
// copy that guards the hand-over. Built for Windows and natively.
#include "text.h"
#include "textrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct FoldCase {
    const char* name;
    std::string text;
    std::string shown;
};

const std::string Prefix34 = "The quick brown fox jumps over the";  // 34 characters
const std::string Words20 = "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd "
                            "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd";

const FoldCase FoldCases[] = {
    {"sixty characters break at column 35", Prefix34 + " abcdefghijklmnopqrstuvwxy",
     Prefix34 + "\nabcdefghijklmnopqrstuvwxy"},
    {"fifty characters without white space", std::string(50, 'x'), std::string(50, 'x')},
    {"an early line feed restarts the count",
     std::string(30, 'a') + "\nbb bb bb bb bb bb bb bb bb bb bb bb",
     std::string(30, 'a') + "\nbb bb bb bb bb bb bb bb bb bb bb bb"},
    {"a space in column 41 is the break", std::string(40, 'x') + " tail",
     std::string(40, 'x') + "\ntail"},
    {"the undefined-signal message", "interrupted: call for undefined signal message",
     "interrupted: call for undefined signal\nmessage"},
    {"every line is folded", Words20,
     "abcd abcd abcd abcd abcd abcd abcd abcd\nabcd abcd abcd abcd abcd abcd abcd abcd\n"
     "abcd abcd abcd abcd"},
    {"an unbreakable line stops all folding", "abc " + std::string(45, 'z') + " tail " + Words20,
     "abc\n" + std::string(45, 'z') + " tail " + Words20},
    {"a tab is a break and one column", std::string(38, 'a') + "\tbbbbb",
     std::string(38, 'a') + "\nbbbbb"},
    {"a carriage return counts as a column", std::string(20, 'a') + "\r" + std::string(19, 'b') + " c",
     std::string(20, 'a') + "\r" + std::string(19, 'b') + "\nc"},
    {"forty characters stay", std::string(20, 'a') + " " + std::string(19, 'b'),
     std::string(20, 'a') + " " + std::string(19, 'b')},
    {"empty", "", ""},
};

TEST(FoldMessageText, FoldsAtFortyColumns)
{
    for (const FoldCase& c : FoldCases) {
        std::string text = c.text;
        FoldMessageText(&text[0]);
        EXPECT_EQ(text, c.shown) << c.name;
    }
}

struct LineCase {
    const char* name;
    std::string block;  // may hold bytes past size, which must never be looked at
    size_t size;
    size_t length;
};

const LineCase LineCases[] = {
    {"CR LF ends the line", "5 ft\r\n2 kg\r\n", 12, 4},
    {"a bare line feed", "5 ft\n2 kg", 9, 4},
    {"leading CR LF gives an empty line", "\r\n5 ft", 6, 0},
    {"a lone line feed", "\n", 1, 0},
    {"no line feed: taken whole", "5 ft", 4, 4},
    {"unterminated block stops at its size", "5 ftXXXXXXXX\n", 4, 4},
    {"a line feed just past the size is not seen", "ab\r\n", 3, 3},
    {"a terminator ends the text", std::string("ab\0cd\n", 6), 6, 2},
    {"a carriage return without line feed stays", "x\r", 2, 2},
    {"only one carriage return goes", "a\r\r\n", 4, 2},
    {"empty block", "", 0, 0},
};

TEST(FirstLineLength, StopsAtLineFeedTerminatorOrSize)
{
    for (const LineCase& c : LineCases)
        EXPECT_EQ(FirstLineLength(c.block.data(), c.size), c.length) << c.name;
    EXPECT_EQ(FirstLineLength(nullptr, 5), 0u);
}

struct CopyCase {
    const char* name;
    std::string source;
    size_t n;
    std::string copied;
};

// The hand-over's rule: n is the smaller of 80 and the block's cbData.
const CopyCase CopyCases[] = {
    {"terminated text", std::string("2 kg\0", 5), 5, "2 kg"},
    {"unterminated block", "5 ftXXXX", 4, "5 ft"},
    {"empty block", "5 ft", 0, ""},
    {"overlong text is cut at 80", std::string(100, 'q'), 80, std::string(80, 'q')},
};

TEST(BoundedCopy, CopiesAtMostNAndTerminates)
{
    for (const CopyCase& c : CopyCases) {
        char dest[90];
        std::fill(dest, dest + sizeof dest, '#');
        BoundedCopy(dest, c.source.data(), c.n);
        EXPECT_EQ(std::string(dest), c.copied) << c.name;
        EXPECT_EQ(dest[c.n + 1], '#') << c.name << ": written past n + 1 bytes";
    }
    char dest[4] = "old";
    BoundedCopy(dest, nullptr, 3);
    EXPECT_STREQ(dest, "old");
}

}  // namespace
