// End-to-end tests of ostrel.exe: start-up, the main dialog's commands, the clipboard, batch
// mode, the single instance, hostile WM_COPYDATA and closing, driven from another process.
#include "driver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char DONT_KNOW_TEXT[] = "don't know";

const char NO_XDOTOOL[] = "xdotool cannot be started";

// Each test starts and ends with no program of ours running, so that a case which fails half-way
// cannot disturb the next.
bool Begin()
{
    EndLeftovers();
    if (ProgramPath()[0]) return true;
    ADD_FAILURE() << "ostrel.exe of this build folder is missing: " << OSTREL_PROGRAM;
    return false;
}

struct Running {
    HANDLE process;
    HWND dialog;
};

Running StartInteractive(const char* arguments)
{
    Running run = {StartProgram(arguments), nullptr};
    if (run.process) run.dialog = WaitForMainWindow(run.process);
    return run;
}

// Number and unit spaced out to exactly 80 characters: what follows them must not be read.
std::string CutAtEighty(const char* number, const char* unit)
{
    std::string text = number;
    text.append(80 - strlen(number) - strlen(unit), ' ');
    return text + unit;
}

TEST(StartUp, WindowShowsTheCommandLineTextConverted)
{
    ASSERT_TRUE(Begin());
    const std::string eighty = CutAtEighty("5", "ft");
    const std::string longer = eighty + "beyond";
    struct Row {
        const char* arguments;
        const char* input;
        const char* result;
    } rows[] = {
        {"  5 ft  ", "5 ft", "1.52 m"},
        {nullptr, "", ""},
        {"\"5 ft\"", "\"5 ft\"", DONT_KNOW_TEXT},
        {"-B 5 ft", "-B 5 ft", DONT_KNOW_TEXT},
        {longer.c_str(), eighty.c_str(), "1.52 m"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments ? row.arguments : "(no command-line text)");
        Running run = StartInteractive(row.arguments);
        ASSERT_TRUE(run.dialog) << "no window titled Ostrel";
        EXPECT_STREQ(row.input, FieldText(run.dialog, IDC_INPUT));
        EXPECT_STREQ(row.result, FieldText(run.dialog, IDC_RESULT));
        EndProgram(run.process);
    }
    EndLeftovers();
}

TEST(MainDialog, ConvertReadsTheInputFieldAndOtherCommandsLeaveItAlone)
{
    ASSERT_TRUE(Begin());
    Running run = StartInteractive("5 ft");
    ASSERT_TRUE(run.dialog);
    struct Row {
        const char* input;
        WORD command;
        const char* result;
    } rows[] = {
        {"2 kg", IDOK, "4.41 lbs"},
        {"", IDOK, ""},
        {"5'10", IDM_CONVERT, "1.78 m"},
        {" \t  ", IDM_CONVERT, ""},
        {"5", IDOK, DONT_KNOW_TEXT},
        {"2 kg", IDCANCEL, DONT_KNOW_TEXT},  // Esc's command does nothing
        {"2 kg", 40099, DONT_KNOW_TEXT},     // nor does an unknown one
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.input) + " / command " + std::to_string(row.command));
        ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, row.input));
        ASSERT_TRUE(SendCommand(run.dialog, row.command));
        EXPECT_STREQ(row.result, FieldText(run.dialog, IDC_RESULT));
        EXPECT_STREQ(row.input, FieldText(run.dialog, IDC_INPUT));
    }
    EndLeftovers();
}

TEST(MainDialog, RealKeysReturnConvertsAndEscapeDoesNothing)
{
    ASSERT_TRUE(Begin());
    Running run = StartInteractive("5 ft");
    ASSERT_TRUE(run.dialog);
    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
    ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "type 5'10")) << NO_XDOTOOL;
    ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, "5'10")) << "typed keys did not arrive";
    EXPECT_STREQ("1.52 m", FieldText(run.dialog, IDC_RESULT)) << "typing alone must not convert";

    ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key Return")) << NO_XDOTOOL;
    EXPECT_TRUE(WaitForFieldText(run.dialog, IDC_RESULT, "1.78 m"));

    // Keys arrive in order: once the 7 typed after Esc shows, Esc has been handled.
    ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key Escape key End type 7")) << NO_XDOTOOL;
    ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, "5'107"));
    EXPECT_STREQ("1.78 m", FieldText(run.dialog, IDC_RESULT));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(run.process, 0)) << "Esc ended the program";
    EXPECT_TRUE(IsWindowVisible(run.dialog)) << "Esc hid the window";
    EndLeftovers();
}

TEST(Clipboard, CopyPutsTheResultFieldOnTheClipboard)
{
    ASSERT_TRUE(Begin());
    Running run = StartInteractive("5 ft");
    ASSERT_TRUE(run.dialog);
    ASSERT_TRUE(PutClipboard("sentinel"));
    ASSERT_TRUE(SendCommand(run.dialog, IDM_COPY));
    EXPECT_STREQ("1.52 m", ClipboardText());

    // A new input that was not converted yet: Copy still takes the result that is shown.
    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, "2 kg"));
    ASSERT_TRUE(PutClipboard("sentinel"));
    ASSERT_TRUE(SendCommand(run.dialog, IDM_COPY));
    EXPECT_STREQ("1.52 m", ClipboardText());

    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
    ASSERT_TRUE(SendCommand(run.dialog, IDOK));
    ASSERT_STREQ("", FieldText(run.dialog, IDC_RESULT));
    ASSERT_TRUE(PutClipboard("sentinel"));
    ASSERT_TRUE(SendCommand(run.dialog, IDM_COPY));
    EXPECT_STREQ("", ClipboardText()) << "an empty result is copied as an empty text";
    EndLeftovers();
}

TEST(Clipboard, PasteTakesTheFirstLineWithoutConverting)
{
    ASSERT_TRUE(Begin());
    Running run = StartInteractive("5 ft");
    ASSERT_TRUE(run.dialog);
    const std::string longLine = CutAtEighty("2", "kg") + " and more than the field shows";
    struct Row {
        const char* clipboard;  // nullptr: the clipboard holds no text
        const char* input;
    } rows[] = {
        {"2 kg\r\nsecond line", "2 kg"},
        {"5'10\nsecond line", "5'10"},
        {"\r\n5 ft", ""},
        {"\n5 ft", ""},
        {"100 c", "100 c"},
        {longLine.c_str(), longLine.c_str()},
        {nullptr, "before"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.clipboard ? row.clipboard : "(no text on the clipboard)");
        ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, "before"));
        ASSERT_TRUE(PutClipboard(row.clipboard));
        ASSERT_TRUE(SendCommand(run.dialog, IDM_PASTE));
        EXPECT_STREQ(row.input, FieldText(run.dialog, IDC_INPUT));
        EXPECT_STREQ("1.52 m", FieldText(run.dialog, IDC_RESULT)) << "Paste must not convert";
        const char* after = ClipboardText();
        if (row.clipboard)
            EXPECT_STREQ(row.clipboard, after) << "Paste changed the clipboard";
        else
            EXPECT_EQ(nullptr, after) << "Paste changed the clipboard";
    }
    // The whole long line is in the field; Convert reads only its first 80 characters.
    ASSERT_TRUE(PutClipboard(longLine.c_str()));
    ASSERT_TRUE(SendCommand(run.dialog, IDM_PASTE));
    ASSERT_TRUE(SendCommand(run.dialog, IDOK));
    EXPECT_STREQ("4.41 lbs", FieldText(run.dialog, IDC_RESULT));
    EndLeftovers();
}

TEST(BatchMode, LeavesTheAnswerOnTheClipboardWithoutAWindow)
{
    ASSERT_TRUE(Begin());
    struct Row {
        const char* arguments;
        const char* clipboard;
    } rows[] = {
        {"-b5 ft", "1.52 m"},
        {"-b 5 ft", "1.52 m"},
        {"-b  2 kg  ", "4.41 lbs"},
        {"-b", DONT_KNOW_TEXT},
        {"-b nonsense", DONT_KNOW_TEXT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        ASSERT_TRUE(PutClipboard("sentinel"));
        HANDLE process = StartProgram(row.arguments);
        ASSERT_TRUE(process);
        bool sawWindow = true;
        EXPECT_EQ(0u, WaitForExit(process, &sawWindow));
        EXPECT_FALSE(sawWindow);
        EXPECT_STREQ(row.clipboard, ClipboardText());
    }
    EndLeftovers();
}

TEST(SecondStart, HandsItsTextToTheRunningWindowAndBringsItToTheFront)
{
    ASSERT_TRUE(Begin());
    Running first = StartInteractive("5 ft");
    ASSERT_TRUE(first.dialog);
    HWND elsewhere = CreateForeignWindow("Ostrel e2e: another program");
    ASSERT_TRUE(elsewhere);

    ASSERT_TRUE(SetForegroundWindow(elsewhere));
    ASSERT_EQ(elsewhere, GetForegroundWindow()) << "the test cannot take the foreground";
    HANDLE second = StartProgram("2 kg");
    ASSERT_TRUE(second);
    bool sawWindow = true;
    EXPECT_EQ(1u, WaitForExit(second, &sawWindow));
    EXPECT_FALSE(sawWindow) << "the second start opened a window of its own";
    EXPECT_STREQ("2 kg", FieldText(first.dialog, IDC_INPUT));
    EXPECT_STREQ("4.41 lbs", FieldText(first.dialog, IDC_RESULT));
    EXPECT_EQ(first.dialog, GetForegroundWindow());

    ASSERT_TRUE(SetForegroundWindow(elsewhere));
    HANDLE third = StartProgram(nullptr);
    ASSERT_TRUE(third);
    EXPECT_EQ(1u, WaitForExit(third, &sawWindow));
    EXPECT_FALSE(sawWindow);
    EXPECT_STREQ("2 kg", FieldText(first.dialog, IDC_INPUT));
    EXPECT_STREQ("4.41 lbs", FieldText(first.dialog, IDC_RESULT));
    EXPECT_EQ(first.dialog, GetForegroundWindow());

    // Batch mode makes no instance check and leaves the running window alone.
    ASSERT_TRUE(PutClipboard("sentinel"));
    HANDLE batch = StartProgram("-b 5 ft");
    ASSERT_TRUE(batch);
    EXPECT_EQ(0u, WaitForExit(batch));
    EXPECT_STREQ("1.52 m", ClipboardText());
    EXPECT_STREQ("2 kg", FieldText(first.dialog, IDC_INPUT));

    EXPECT_EQ(0, ForeignCopyDataCount());
    DestroyWindow(elsewhere);
    EndLeftovers();
}

TEST(SecondStart, ForeignWindowTitledOstrelDoesNotStopANormalStart)
{
    ASSERT_TRUE(Begin());
    HWND foreign = CreateForeignWindow(MAIN_TITLE);
    ASSERT_TRUE(foreign);
    Running run = StartInteractive("5 ft");
    EXPECT_TRUE(run.dialog) << "the program did not open its window";
    if (run.dialog) {
        EXPECT_STREQ("5 ft", FieldText(run.dialog, IDC_INPUT));
        EXPECT_STREQ("1.52 m", FieldText(run.dialog, IDC_RESULT));
    }
    EXPECT_EQ(0, ForeignCopyDataCount()) << "the foreign window was handed the text";
    DestroyWindow(foreign);
    EndLeftovers();
}

TEST(SecondStart, StartingInstanceWithoutWindowIsReported)
{
    ASSERT_TRUE(Begin());
    // The mutex of an instance that has not shown its window yet.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MAIN_TITLE);
    ASSERT_TRUE(mutex);
    HANDLE process = StartProgram("5 ft");
    ASSERT_TRUE(process);
    HWND box = WaitForOtherWindow(process, nullptr);
    ASSERT_TRUE(box) << "no warning appeared";
    EXPECT_STREQ("Ostrel is already running", FieldText(box, 0xFFFF));
    EXPECT_EQ(nullptr, FindWindowA(MAIN_CLASS, MAIN_TITLE)) << "the main dialog opened";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1u, WaitForExit(process));
    CloseHandle(mutex);
    EndLeftovers();
}

TEST(CopyData, HostileBlocksFromAnotherProcessAreReadWithinBounds)
{
    ASSERT_TRUE(Begin());
    Running run = StartInteractive("5 ft");
    ASSERT_TRUE(run.dialog);
    static char unterminated[1000];
    memset(unterminated, '7', sizeof unterminated);
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
        {"1000 bytes, no terminator", unterminated, 1000, true, sevens.c_str(), DONT_KNOW_TEXT},
        {"lpData absent, cbData 50", nullptr, 50, true, sevens.c_str(), DONT_KNOW_TEXT},
        {"lParam 0", nullptr, 0, false, sevens.c_str(), DONT_KNOW_TEXT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COPYDATASTRUCT block = {0x0BAD, row.size, const_cast<void*>(row.data)};
        LPARAM lParam = row.hasBlock ? reinterpret_cast<LPARAM>(&block) : 0;
        DWORD_PTR result = 0;
        bool sent = SendMessageTimeoutA(run.dialog, WM_COPYDATA, 0, lParam, SMTO_NORMAL,
                                        WAIT_LIMIT_MS, &result) != 0;
        // Wine will not carry a WM_COPYDATA without its block to another process; then the
        // attempt must at least harm nothing, which the field checks below show.
        if (row.hasBlock) {
            ASSERT_TRUE(sent) << "the dialog did not answer";
        }
        const char* input = FieldText(run.dialog, IDC_INPUT);
        EXPECT_LE(strlen(input), 80u);
        EXPECT_STREQ(row.input, input);
        EXPECT_STREQ(row.result, FieldText(run.dialog, IDC_RESULT));
    }
    // Still working as before.
    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, "5'10"));
    ASSERT_TRUE(SendCommand(run.dialog, IDOK));
    EXPECT_STREQ("1.78 m", FieldText(run.dialog, IDC_RESULT));
    EndLeftovers();
}

TEST(Closing, EveryWayOfClosingEndsTheProcessWithOne)
{
    ASSERT_TRUE(Begin());
    struct Row {
        const char* name;
        UINT message;  // 0: Alt+F4 typed on the real keyboard
        WPARAM wParam;
    } rows[] = {
        {"File/Exit", WM_COMMAND, IDM_EXIT},
        {"close box", WM_CLOSE, 0},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE},
        {"Close with low bits set", WM_SYSCOMMAND, SC_CLOSE | 2},
        {"Alt+F4", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Running run = StartInteractive("5 ft");
        ASSERT_TRUE(run.dialog);
        if (row.message)
            ASSERT_TRUE(PostMessageA(run.dialog, row.message, row.wParam, 0));
        else
            ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key alt+F4")) << NO_XDOTOOL;
        EXPECT_EQ(1u, WaitForExit(run.process));
    }
    EndLeftovers();
}

}  // namespace
