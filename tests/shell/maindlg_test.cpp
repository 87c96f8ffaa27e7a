// The main dialog built from the real template: its first conversion, the hand-over from any
// process (absent, empty, unterminated or oversized blocks), the commands and the ways to close.
#include "app.h"
#include "maindlg.h"
#include "resource.h"
#include "winutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MainDialog, CreationShowsTheStartText)
{
    HWND dialog = OpenMainDialog("  5 ft ");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(MainWindow, dialog);
    EXPECT_EQ(ItemText(dialog, IDC_RESULT), "1.52 m");
    EXPECT_TRUE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    char title[32] = "";
    GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "Ostrel");
    DestroyWindow(dialog);
}

struct HandOverCase {
    const char* name;
    bool present;         // lParam given at all
    const char* data;     // lpData
    DWORD size;           // cbData
    std::string input;    // the input field afterwards
    std::string result;
};

const char Unterminated[] = {'5', ' ', 'f', 't', 'X', 'X', 'X', 'X'};
const std::string Long = "5 ft" + std::string(76, ' ') + "and more";

const HandOverCase HandOverCases[] = {
    {"absent data keeps the last input", true, nullptr, 10, "12 in", "30.48 cm"},
    {"a terminated text", true, "2 kg", 5, "2 kg", "4.41 lbs"},
    {"an unterminated block", true, Unterminated, 4, "5 ft", "1.52 m"},
    {"an empty block", true, "2 kg", 0, "", ""},
    {"an absent lParam changes nothing", false, nullptr, 0, "before", "old"},
    {"a huge cbData reads up to the terminator", true, "12 in", 0x7FFFFFFF, "12 in", "30.48 cm"},
    {"at most 80 characters", true, Long.c_str(), static_cast<DWORD>(Long.size() + 1), Long.substr(0, 80),
     "1.52 m"},
};

TEST(MainDialog, HandOverTrustsNoBlock)
{
    HWND dialog = OpenMainDialog("12 in");
    for (const HandOverCase& c : HandOverCases) {
        SetDlgItemTextA(dialog, IDC_INPUT, "before");
        SetDlgItemTextA(dialog, IDC_RESULT, "old");
        COPYDATASTRUCT data = {0, c.size, const_cast<char*>(c.data)};
        SendMessageA(dialog, WM_COPYDATA, 0, c.present ? reinterpret_cast<LPARAM>(&data) : 0);
        EXPECT_EQ(ItemText(dialog, IDC_INPUT), c.input) << c.name;
        EXPECT_EQ(ItemText(dialog, IDC_RESULT), c.result) << c.name;
    }
    DestroyWindow(dialog);
}

struct ConvertCase {
    WORD command;
    std::string input;
    std::string result;
};

const ConvertCase ConvertCases[] = {
    {IDOK, "5 ft", "1.52 m"},
    {IDM_CONVERT, "2 kg", "4.41 lbs"},
    {IDOK, "", ""},
    {IDOK, "   \t ", ""},
    {IDOK, "5", "don't know"},
    {IDM_CONVERT, "-B 5 ft", "don't know"},
    {IDOK, "5 ft" + std::string(76, ' ') + "junk", "1.52 m"},  // no more than 80 characters
    {IDOK, "2" + std::string(77, ' ') + "kg", "4.41 lbs"},     // and all 80 of them
};

TEST(MainDialog, ConvertReadsAtMostEightyCharacters)
{
    HWND dialog = OpenMainDialog("");
    for (const ConvertCase& c : ConvertCases) {
        SetDlgItemTextA(dialog, IDC_RESULT, "old");
        SetDlgItemTextA(dialog, IDC_INPUT, c.input.c_str());
        SendMessageA(dialog, WM_COMMAND, c.command, 0);
        EXPECT_EQ(ItemText(dialog, IDC_RESULT), c.result) << c.input;
    }
    SetDlgItemTextA(dialog, IDC_INPUT, "5 ft");
    SetDlgItemTextA(dialog, IDC_RESULT, "old");
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(dialog, WM_COMMAND, 12345, 0);
    EXPECT_EQ(ItemText(dialog, IDC_RESULT), "old") << "only Convert converts";
    EXPECT_TRUE(IsWindowVisible(dialog)) << "Esc must not close";
    DestroyWindow(dialog);
}

struct CloseCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool closes;
};

const CloseCase CloseCases[] = {
    {"close box", WM_CLOSE, 0, true},
    {"File/Exit", WM_COMMAND, IDM_EXIT, true},
    {"system close", WM_SYSCOMMAND, SC_CLOSE, true},
    {"Esc", WM_COMMAND, IDCANCEL, false},
    {"a message whose low word is WM_CLOSE", 0x10000 | WM_CLOSE, 0, true},
};

TEST(MainDialog, ClosesOnlyByCloseExitAndSystemClose)
{
    for (const CloseCase& c : CloseCases) {
        HWND dialog = OpenMainDialog("5 ft");
        ShowWindow(dialog, SW_SHOW);
        MainDialogProc(dialog, c.message, c.wParam, 0);
        EXPECT_EQ(IsWindowVisible(dialog) == FALSE, c.closes) << c.name;
        DestroyWindow(dialog);
    }
}

}  // namespace
