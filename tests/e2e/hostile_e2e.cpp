// End-to-end tests of what ostrel.exe takes from others: command lines up to the longest,
// handed-over blocks (a random flood too), any clipboard, and saved positions, usable or not.
#include "driver.h"
#include "resource.h"

#include <cstring>
#include <random>
#include <string>

namespace {

const char DONT_KNOW[] = "don't know";
// "2" and "kg" spaced out to exactly 80 characters: what follows must not be read.
const std::string EIGHTY_KG = "2" + std::string(77, ' ') + "kg";

// Still running and answering, showing nothing besides its dialog: no warning, no crash.
void ExpectUnharmed(const Instance& run)
{
    EXPECT_EQ(WaitForSingleObject(run.process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_STRNE(FieldText(run.dialog, IDC_RESULT), "(no answer)");
    EXPECT_EQ(CountWindows(run.process, run.dialog), 0);
}

bool HandOver(HWND dialog, const void* data, DWORD size, bool hasBlock = true)
{
    COPYDATASTRUCT block = {0x0BAD, size, const_cast<void*>(data)};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(dialog, WM_COPYDATA, 0,
                               hasBlock ? reinterpret_cast<LPARAM>(&block) : 0, SMTO_NORMAL,
                               WAIT_LIMIT_MS, &result) != 0;
}

TEST_F(E2E, WindowOpensWithTheFirstEightyCharactersOfTheCommandLineTrimmedAndConverted)
{
    const std::string eighty = "5" + std::string(77, ' ') + "ft";
    const std::string longest = "   " + eighty + std::string(32000 - 83, 'y');
    struct Row { const char* arguments; const char* input; const char* result; } rows[] = {
        {"  5 ft  ", "5 ft", "1.52 m"},
        {nullptr, "", ""},
        {"\"5 ft\"", "\"5 ft\"", DONT_KNOW},
        {"-B 5 ft", "-B 5 ft", DONT_KNOW},
        {longest.c_str(), eighty.c_str(), "1.52 m"},  // 32,000 characters
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.arguments ? row.arguments : "(none)").substr(0, 20));
        Instance run = OpenProgram(row.arguments);
        ASSERT_TRUE(run.dialog) << "no window titled Ostrel";
        EXPECT_STREQ(row.input, FieldText(run.dialog, IDC_INPUT));
        EXPECT_STREQ(row.result, FieldText(run.dialog, IDC_RESULT));
        ExpectUnharmed(run);
        EndLeftovers();
    }
}

TEST_F(E2E, HandOversAreReadWithinTheirBoundsEvenInARandomFlood)
{
    Instance run = OpenProgram("5 ft");
    ASSERT_TRUE(run.dialog);
    static char block[2000];
    memset(block, '7', sizeof block);
    const std::string sevens(80, '7');
    struct Row {
        const char* name;
        const void* data;
        DWORD size;
        bool hasBlock;  // false: lParam 0
        const char* input;
        const char* result;
    } rows[] = {
        {"an ordinary hand-over", "2 kg", 5, true, "2 kg", "4.41 lbs"},
        {"cbData 0", "5 ft", 0, true, "", ""},
        {"cut at cbData", "5 ftXYZ", 4, true, "5 ft", "1.52 m"},
        {"1000 bytes, no terminator", block, 1000, true, sevens.c_str(), DONT_KNOW},
        {"lpData absent, cbData 50", nullptr, 50, true, sevens.c_str(), DONT_KNOW},
        {"lParam 0", nullptr, 0, false, sevens.c_str(), DONT_KNOW},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Wine will not carry a WM_COPYDATA without its block to another process; then the
        // attempt must at least harm nothing, which the fields show.
        bool sent = HandOver(run.dialog, row.data, row.size, row.hasBlock);
        EXPECT_TRUE(sent || !row.hasBlock) << "the dialog did not answer";
        EXPECT_STREQ(row.input, FieldText(run.dialog, IDC_INPUT));
        EXPECT_STREQ(row.result, FieldText(run.dialog, IDC_RESULT));
    }

    // 5,000 random blocks, not 10,000: each hand-over takes 3-4 ms across processes under Wine
    // here, and the flood should stay near 20 s.
    std::mt19937 random(20261207);
    for (int i = 0; i < 5000; ++i) {
        DWORD size = random() % (sizeof block + 1);
        for (DWORD b = 0; b < size; ++b) block[b] = static_cast<char>(random());
        ASSERT_TRUE(HandOver(run.dialog, block, size)) << "hand-over " << i << " unanswered";
        ASSERT_LE(strlen(FieldText(run.dialog, IDC_INPUT)), 80u) << "after hand-over " << i;
        if (i % 250 == 0) {
            ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, "5'10"));
            ASSERT_TRUE(SendCommand(run.dialog, IDOK));
            ASSERT_STREQ(FieldText(run.dialog, IDC_RESULT), "1.78 m") << "after hand-over " << i;
        }
    }
    ASSERT_TRUE(HandOver(run.dialog, "2 kg", 5));
    EXPECT_STREQ(FieldText(run.dialog, IDC_RESULT), "4.41 lbs");
    ExpectUnharmed(run);
}

std::string Terminated(const char* text)
{
    return std::string(text, strlen(text) + 1);
}

TEST_F(E2E, PasteTakesAtMostTheFirstLineOfAnyClipboardAndConvertAtMostEighty)
{
    std::string binary;
    for (int b = 1; b <= 0xFF; ++b) binary += static_cast<char>(b);
    const std::string noLineFeed = binary.substr(0x0B) + '\0';
    const std::string megabyte = EIGHTY_KG + std::string((1 << 20) - 80, 'x') + '\0';
    const std::string unterminated = EIGHTY_KG + std::string(20, 'x');
    struct Row {
        const char* what;
        std::string block;  // put on the clipboard exactly; empty: no text at all
        std::string input;  // after Paste, which keeps the result that was shown
        const char* result;  // after Convert
    } rows[] = {
        {"CR LF", Terminated("2 kg\r\nsecond line"), "2 kg", "4.41 lbs"},
        {"LF", Terminated("5'10\nsecond line"), "5'10", "1.78 m"},
        {"an empty first line", Terminated("\r\n5 ft"), "", ""},
        {"an empty first line, LF", Terminated("\n5 ft"), "", ""},
        {"one line", Terminated("1 mile"), "1 mile", "1.61 km"},
        {"no text", "", "1 mile", "1.61 km"},
        {"1 MB without a line feed", megabyte, megabyte.substr(0, 4095), "4.41 lbs"},
        // Wine writes a terminator over the last byte of a CF_TEXT block that lacks one.
        {"no terminator", unterminated, unterminated.substr(0, 99), "4.41 lbs"},
        {"bytes 0x01-0xFF", binary, binary.substr(0, 9), DONT_KNOW},
        {"bytes 0x0B-0xFF", noLineFeed, noLineFeed.c_str(), DONT_KNOW},
    };
    Instance run = OpenProgram("5 ft");
    ASSERT_TRUE(run.dialog);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(PutClipboardBytes(row.block.empty() ? nullptr : row.block.data(),
                                      row.block.size()));
        const char* before = ClipboardText();
        const std::string clipboard = before ? before : "(none)";
        const std::string shown = FieldText(run.dialog, IDC_RESULT);
        ASSERT_TRUE(SendCommand(run.dialog, IDM_PASTE));
        EXPECT_EQ(FieldText(run.dialog, IDC_INPUT), row.input);
        EXPECT_EQ(FieldText(run.dialog, IDC_RESULT), shown) << "Paste must not convert";
        const char* after = ClipboardText();
        EXPECT_EQ(after ? after : "(none)", clipboard) << "Paste changed the clipboard";
        ASSERT_TRUE(SendCommand(run.dialog, IDOK));
        EXPECT_STREQ(FieldText(run.dialog, IDC_RESULT), row.result);
        ExpectUnharmed(run);
    }
}

// A start on the stored position: the window at (x, y), no box, nothing written to the key.
void ExpectOpensAt(LONG x, LONG y, DWORD storedValues)
{
    Instance run = OpenProgram(nullptr);
    ASSERT_TRUE(run.dialog) << "no main window: a warning may be holding it back";
    EXPECT_EQ(Corner(run.dialog).x, x);
    EXPECT_EQ(Corner(run.dialog).y, y);
    ExpectUnharmed(run);
    DWORD values = 99;
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, STATE_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(values, storedValues);
    EndLeftovers();
}

TEST_F(E2E, StartOpensWhereTheSavedPositionSaysWhenTheWindowLiesOnAMonitor)
{
    const LONG right = GetSystemMetrics(SM_CXSCREEN) - 40;
    const LONG NONE = 0x12345678;  // no value stored
    struct Row { const char* what; LONG x; LONG y; LONG openX; LONG openY; } rows[] = {
        {"a first start", NONE, NONE, 50, 50},
        {"both saved", 300, 200, 300, 200},
        {"no wypos", 300, NONE, 300, 50},
        {"no wxpos", NONE, 200, 50, 200},
        {"a negative x, partly off the left edge", -20, 5, -20, 5},
        {"partly off the right edge", right, 200, right, 200},
        {"on no monitor", 30000, 30000, 50, 50},
        {"a minimised window's corner", -32000, -32000, 50, 50},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteTreeA(HKEY_CURRENT_USER, STATE_KEY);
        if (row.x != NONE) StoreCoordinate("wxpos", row.x);
        if (row.y != NONE) StoreCoordinate("wypos", row.y);
        ExpectOpensAt(row.openX, row.openY, DWORD(row.x != NONE) + DWORD(row.y != NONE));
    }
}

TEST_F(E2E, SavedCoordinateOfWrongTypeOrSizeIsTheDefault)
{
    const BYTE zeros[8] = {};
    const LONGLONG quad = 300;
    const LONG absurd[] = {0x7FFFFFFF, LONG(0x80000000)};
    struct Stored {
        const char* what;
        DWORD type;
        const void* data;
        DWORD size;
        bool onNoMonitor;  // moves both coordinates to the default
    } stored[] = {
        {"REG_SZ", REG_SZ, "12345", 6, false},
        {"0 bytes", REG_BINARY, zeros, 0, false},
        {"2 bytes", REG_BINARY, zeros, 2, false},
        {"3 bytes", REG_BINARY, zeros, 3, false},
        {"5 bytes", REG_BINARY, zeros, 5, false},
        {"8 bytes", REG_BINARY, zeros, 8, false},
        {"REG_QWORD", REG_QWORD, &quad, 8, false},
        {"REG_MULTI_SZ", REG_MULTI_SZ, "300\0", 5, false},
        {"0x7FFFFFFF", REG_DWORD, &absurd[0], 4, true},
        {"0x80000000", REG_DWORD, &absurd[1], 4, true},
    };
    for (const char* name : {"wxpos", "wypos"}) {
        for (const Stored& value : stored) {
            SCOPED_TRACE(std::string(name) + " as " + value.what);
            const bool x = name[1] == 'x';
            ASSERT_TRUE(StoreCoordinate(x ? "wypos" : "wxpos", x ? 200 : 300));
            ASSERT_TRUE(SetRegValue(HKEY_CURRENT_USER, STATE_KEY, name, value.type, value.data,
                                    value.size));
            ExpectOpensAt(x || value.onNoMonitor ? 50 : 300, !x || value.onNoMonitor ? 50 : 200, 2);
        }
    }
}

}  // namespace
