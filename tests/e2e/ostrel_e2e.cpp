// End-to-end tests of ostrel.exe: the main dialog's commands, real keys, batch mode, the single
// instance and closing, driven from another process.
#include "driver.h"
#include "resource.h"

#include <string>

namespace {

const char DONT_KNOW[] = "don't know";
const char NO_XDOTOOL[] = "xdotool cannot be started";

TEST_F(E2E, ConvertReadsTheInputCopyTakesTheShownResultOtherCommandsLeaveBothAlone)
{
    Instance run = OpenProgram("5 ft");
    ASSERT_TRUE(run.dialog);
    struct Row { const char* input; WORD command; const char* result; } rows[] = {
        {"2 kg", IDOK, "4.41 lbs"},
        {"5 ft", IDM_COPY, "4.41 lbs"},  // not converted yet
        {"", IDOK, ""},
        {"", IDM_COPY, ""},
        {"5'10", IDM_CONVERT, "1.78 m"},
        {" \t  ", IDM_CONVERT, ""},
        {"5", IDOK, DONT_KNOW},
        {"2 kg", IDCANCEL, DONT_KNOW},  // Esc's command does nothing
        {"2 kg", 40099, DONT_KNOW},     // nor does an unknown one
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.input) + " / command " + std::to_string(row.command));
        ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, row.input));
        ASSERT_TRUE(PutClipboard("sentinel"));
        ASSERT_TRUE(SendCommand(run.dialog, row.command));
        EXPECT_STREQ(row.result, FieldText(run.dialog, IDC_RESULT));
        EXPECT_STREQ(row.input, FieldText(run.dialog, IDC_INPUT));
        EXPECT_STREQ(row.command == IDM_COPY ? row.result : "sentinel", ClipboardText());
    }
}

TEST_F(E2E, RealKeysReturnConvertsAndEscapeDoesNothing)
{
    Instance run = OpenProgram("5 ft");
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
}

TEST_F(E2E, BatchModeLeavesTheAnswerOnTheClipboardWithoutAWindowOrSavedState)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, STATE_KEY);
    struct Row { const char* arguments; const char* clipboard; } rows[] = {
        {"-b5 ft", "1.52 m"},       {"-b 5 ft", "1.52 m"},         {"-b  2 kg  ", "4.41 lbs"},
        {"-b", DONT_KNOW},          {"-b nonsense", DONT_KNOW},
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
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, STATE_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(E2E, SecondStartHandsItsTextToTheRunningWindowNotToAForeignOneTitledAlike)
{
    HWND foreign = CreateForeignWindow(MAIN_TITLE);
    ASSERT_TRUE(foreign);
    Instance first = OpenProgram("5 ft");
    ASSERT_TRUE(first.dialog) << "the foreign window stopped a normal start";
    // With no text the running window keeps its own; batch mode makes no instance check.
    struct Row { const char* arguments; DWORD exitCode; const char* input; HWND front; } rows[] = {
        {"2 kg", 1, "2 kg", first.dialog},
        {nullptr, 1, "2 kg", first.dialog},
        {"-b 5 ft", 0, "2 kg", foreign},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments ? row.arguments : "(no command-line text)");
        ASSERT_TRUE(SetForegroundWindow(foreign));
        ASSERT_EQ(foreign, GetForegroundWindow()) << "the test cannot take the foreground";
        HANDLE next = StartProgram(row.arguments);
        ASSERT_TRUE(next);
        bool sawWindow = true;
        EXPECT_EQ(row.exitCode, WaitForExit(next, &sawWindow));
        EXPECT_FALSE(sawWindow) << "the second start opened a window of its own";
        EXPECT_STREQ(row.input, FieldText(first.dialog, IDC_INPUT));
        EXPECT_STREQ("4.41 lbs", FieldText(first.dialog, IDC_RESULT));
        EXPECT_EQ(row.front, GetForegroundWindow());
    }
    EXPECT_STREQ("1.52 m", ClipboardText()) << "from batch mode";
    EXPECT_EQ(0, ForeignCopyData) << "the foreign window was handed the text";
    DestroyWindow(foreign);
}

TEST_F(E2E, StartingInstanceWithoutWindowIsReported)
{
    // The mutex of an instance that has not shown its window yet.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MAIN_TITLE);
    ASSERT_TRUE(mutex);
    HANDLE process = StartProgram("5 ft");
    ASSERT_TRUE(process);
    HWND box = WaitForWindow(process, nullptr);
    ASSERT_TRUE(box) << "no warning appeared";
    EXPECT_STREQ("Ostrel is already running", FieldText(box, 0xFFFF));
    EXPECT_EQ(nullptr, FindWindowA(MAIN_CLASS, MAIN_TITLE)) << "the main dialog opened";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1u, WaitForExit(process));
    CloseHandle(mutex);
}

TEST_F(E2E, EveryWayOfClosingEndsWithOneAndSavesWhereTheWindowWas)
{
    struct Row {
        const char* name;
        UINT message;  // 0: Alt+F4 typed on the real keyboard
        WPARAM wParam;
        LONG x;
        LONG y;
    } rows[] = {
        {"File/Exit", WM_COMMAND, IDM_EXIT, -15, 60},
        {"close box", WM_CLOSE, 0, 300, 200},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE, 120, 340},
        {"Close with low bits set", WM_SYSCOMMAND, SC_CLOSE | 2, 140, 90},
        {"Alt+F4", 0, 0, 200, 150},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RegDeleteTreeA(HKEY_CURRENT_USER, STATE_KEY);
        Instance run = OpenProgram("5 ft");
        ASSERT_TRUE(run.dialog);
        ASSERT_TRUE(SetWindowPos(run.dialog, nullptr, row.x, row.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        if (row.message)
            ASSERT_TRUE(PostMessageA(run.dialog, row.message, row.wParam, 0));
        else
            ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key alt+F4")) << NO_XDOTOOL;
        EXPECT_EQ(1u, WaitForExit(run.process));
        EXPECT_STREQ(SavedCoordinate("wxpos"), std::to_string(row.x).c_str());
        EXPECT_STREQ(SavedCoordinate("wypos"), std::to_string(row.y).c_str());
    }
}

}  // namespace
