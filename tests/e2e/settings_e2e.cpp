// End-to-end tests of the about box and help on the real ostrel.exe.
// Each case sets the registry state it depends on at its start; the prefix is the tests' alone.
#include "driver.h"
#include "resource.h"

#include <cstring>
#include <regex>
#include <string>

namespace {

// Wine reads a program's DLL overrides here at every load, so a running program sees changes.
const char OVERRIDES[] = "Software\\Wine\\AppDefaults\\ostrel.exe\\DllOverrides";
const char HELP_SERVER[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char ABOUT_TITLE[] = "About Ostrel";
const char VIEWER_TITLE[] = "Ostrel Help";  // the help file's own title
const char SYSTEM_HELP_CONTROL[] = "C:\\windows\\system32\\hhctrl.ocx";  // where the prefix has it

// An empty override disables a DLL for ostrel.exe alone, by whatever path it is asked for.
void Disable(const char* dll, bool disabled)
{
    if (disabled)
        SetRegValue(HKEY_CURRENT_USER, OVERRIDES, dll, REG_SZ, "", 1);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, OVERRIDES, dll);
}

// A path that fills MAX_PATH bytes without a terminator may have been cut short.
void RegisterHelpControl(const char* path, bool terminated = true)
{
    SetRegValue(HKEY_CLASSES_ROOT, HELP_SERVER, nullptr, terminated ? REG_SZ : REG_BINARY, path,
                terminated ? DWORD(strlen(path) + 1) : MAX_PATH);
}

HWND OpenAbout(const Instance& run, int count = 1)
{
    // Posted: the box runs its own modal loop, so a sent command would not come back.
    PostMessageA(run.dialog, WM_COMMAND, IDM_ABOUT, 0);
    return WaitForWindow(run.process, run.dialog, ABOUT_TITLE, count);
}

TEST_F(E2E, AboutOpensBesideTheMainWindowAndEndsOnlyByOkOrClosingNeverByEscape)
{
    // No audio driver at all for the program: the box must still open, silently.
    for (const char* driver : {"winealsa.drv", "winepulse.drv", "wineoss.drv"})
        Disable(driver, true);
    struct Row {
        const char* what;
        UINT message;  // 0: Esc on the real keyboard
        WPARAM wParam;
        bool ends;
        POINT mainWindow;
    } rows[] = {
        {"Esc's command", WM_COMMAND, IDCANCEL, false, {400, 300}},
        {"Esc", 0, 0, false, {50, 50}},
        {"OK", WM_COMMAND, IDOK, true, {-30, 120}},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, true, {50, 50}},
        {"Alt+F4", WM_CLOSE, 0, true, {400, 300}},
    };
    Instance run = OpenProgram(nullptr);
    ASSERT_TRUE(run.dialog);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(SetWindowPos(run.dialog, nullptr, row.mainWindow.x, row.mainWindow.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        HWND about = OpenAbout(run);
        ASSERT_TRUE(about);
        EXPECT_EQ(Corner(about).x, row.mainWindow.x + 20);
        EXPECT_EQ(Corner(about).y, row.mainWindow.y + 20);
        EXPECT_STREQ(FieldText(about, IDC_VERSION), "Version: 1.0");
        // The compiler's date, as in "Jul  1 2003".
        EXPECT_TRUE(std::regex_match(FieldText(about, IDC_COMPILED),
                                     std::regex("Compiled: (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|"
                                                "Oct|Nov|Dec) ( [1-9]|[12][0-9]|3[01]) 2[0-9]{3}")))
            << FieldText(about, IDC_COMPILED);
        EXPECT_EQ(CountWindows(run.process, run.dialog), 1) << "the box and nothing else";
        DWORD_PTR result = 0;
        if (row.message) {
            ASSERT_TRUE(SendMessageTimeoutA(about, row.message, row.wParam, 0, SMTO_NORMAL,
                                            WAIT_LIMIT_MS, &result));
        } else {
            // The box covers the main window's fields: move that clear to type there. One
            // xdotool run keeps the keys in order: once the x shows, the box has handled Esc.
            ASSERT_TRUE(SetWindowPos(run.dialog, nullptr, 600, 500, 0, 0,
                                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
            ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
            RECT input = {};
            ASSERT_TRUE(GetWindowRect(GetDlgItem(run.dialog, IDC_INPUT), &input));
            const std::string keys = "key Escape mousemove " +
                                     std::to_string((input.left + input.right) / 2) + " " +
                                     std::to_string((input.top + input.bottom) / 2) +
                                     " click 1 type x";
            ASSERT_TRUE(ClickAndSend(about, IDC_VERSION, keys.c_str()));
            ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, "x"));
        }
        EXPECT_EQ(IsWindowVisible(about) == FALSE, row.ends);
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) || !IsWindowVisible(about); }));
        EXPECT_EQ(WaitForSingleObject(run.process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }

    // A second About opens a second box, and a hand-over still reaches the main window.
    ASSERT_TRUE(OpenAbout(run));
    EXPECT_TRUE(OpenAbout(run, 2)) << "no second box";
    HANDLE second = StartProgram("2 kg");
    ASSERT_TRUE(second);
    EXPECT_EQ(WaitForExit(second), 1u);
    EXPECT_STREQ(FieldText(run.dialog, IDC_RESULT), "4.41 lbs");
    EXPECT_EQ(CountWindows(run.process, run.dialog, ABOUT_TITLE), 2) << "the boxes must stay";
}

TEST_F(E2E, HelpOpensTheViewerOwnedByTheMainWindow)
{
    char unterminated[MAX_PATH];
    memset(unterminated, 'A', sizeof unterminated);
    struct Row {
        const char* what;
        const char* registered;  // the help control's registered path
        bool realKey;
    } rows[] = {
        {"F1", SYSTEM_HELP_CONTROL, true},
        {"Help/Help", SYSTEM_HELP_CONTROL, false},
        {"a registered path that fills its buffer", unterminated, false},
    };
    Disable("hhctrl.ocx", false);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RegisterHelpControl(row.registered, row.registered != unterminated);
        Instance run = OpenProgram(nullptr);
        ASSERT_TRUE(run.dialog);
        if (row.realKey)
            ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key F1"));
        else
            ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
        HWND viewer = WaitForWindow(run.process, run.dialog, VIEWER_TITLE);
        ASSERT_TRUE(viewer) << "no help viewer";
        EXPECT_EQ(GetWindow(viewer, GW_OWNER), run.dialog);
        EndLeftovers();
    }
}

TEST_F(E2E, WithoutTheHelpControlHelpDoesNothingAndIsNotTriedAgain)
{
    RegisterHelpControl(SYSTEM_HELP_CONTROL);
    Disable("hhctrl.ocx", true);
    Instance run = OpenProgram(nullptr);
    ASSERT_TRUE(run.dialog);
    // Each round: F1 then a typed letter, so the letter showing means F1 has been handled.
    for (const char* letter : {"x", "y"}) {
        SCOPED_TRACE(letter);
        ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
        const std::string keys = std::string("key F1 type ") + letter;
        ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, keys.c_str()));
        ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, letter));
        ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
        EXPECT_EQ(CountWindows(run.process, run.dialog), 0);
        // The control is back; the running program must not look for it again.
        Disable("hhctrl.ocx", false);
    }
    ASSERT_TRUE(PostMessageA(run.dialog, WM_CLOSE, 0, 0));
    EXPECT_EQ(WaitForExit(run.process), 1u);

    // A new start finds it, so the silence above was the binding's, not the platform's.
    run = OpenProgram(nullptr);
    ASSERT_TRUE(run.dialog);
    ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
    EXPECT_TRUE(WaitForWindow(run.process, run.dialog, VIEWER_TITLE));
}

}  // namespace
