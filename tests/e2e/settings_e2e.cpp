// End-to-end tests of the saved window position, the about box and help, on the real ostrel.exe.
// They change the prefix's registry (the state key, Wine's per-program DLL overrides, the help
// control's class key) and put back what they found when the suite ends.
#include "driver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char STATE[] = "Software\\Ostrel\\State";
// Wine reads a program's DLL overrides here at every load, so a running program sees changes.
const char APP_DEFAULTS[] = "Software\\Wine\\AppDefaults\\ostrel.exe";
const char OVERRIDES[] = "Software\\Wine\\AppDefaults\\ostrel.exe\\DllOverrides";
const char HELP_SERVER[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char ABOUT_TITLE[] = "About Ostrel";
const char VIEWER_TITLE[] = "Ostrel Help";  // the help file's own title
const char* const AUDIO_DRIVERS[] = {"winealsa.drv", "winepulse.drv", "wineoss.drv"};

// ---- Registry: what the suite changes, saved first and put back at the end -----------------

struct SavedValue {
    HKEY root;
    const char* key;
    const char* name;  // nullptr: the key's default value
    bool existed;
    DWORD type;
    BYTE data[1024];
    DWORD size;
};

SavedValue Saved[] = {
    {HKEY_CURRENT_USER, STATE, "wxpos", false, 0, {}, 0},
    {HKEY_CURRENT_USER, STATE, "wypos", false, 0, {}, 0},
    {HKEY_CURRENT_USER, OVERRIDES, "hhctrl.ocx", false, 0, {}, 0},
    {HKEY_CURRENT_USER, OVERRIDES, "winealsa.drv", false, 0, {}, 0},
    {HKEY_CURRENT_USER, OVERRIDES, "winepulse.drv", false, 0, {}, 0},
    {HKEY_CURRENT_USER, OVERRIDES, "wineoss.drv", false, 0, {}, 0},
    {HKEY_CLASSES_ROOT, HELP_SERVER, nullptr, false, 0, {}, 0},
};
bool StateKeyExisted;
bool AppDefaultsExisted;

bool KeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool SetValue(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG code = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return code == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

// True when the value exists; type and bytes are returned through the pointers.
bool ReadValue(HKEY root, const char* path, const char* name, DWORD* type, BYTE* data,
               DWORD* size)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    LONG code = RegQueryValueExA(key, name, nullptr, type, data, size);
    RegCloseKey(key);
    return code == ERROR_SUCCESS;
}

class Settings : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        StateKeyExisted = KeyExists(HKEY_CURRENT_USER, STATE);
        AppDefaultsExisted = KeyExists(HKEY_CURRENT_USER, APP_DEFAULTS);
        for (SavedValue& value : Saved) {
            value.size = sizeof value.data;
            value.existed = ReadValue(value.root, value.key, value.name, &value.type, value.data,
                                      &value.size);
        }
    }

    static void TearDownTestSuite()
    {
        EndLeftovers();
        for (const SavedValue& value : Saved) {
            if (value.existed)
                SetValue(value.root, value.key, value.name, value.type, value.data, value.size);
            else
                DeleteValue(value.root, value.key, value.name);
        }
        if (!AppDefaultsExisted) RegDeleteTreeA(HKEY_CURRENT_USER, APP_DEFAULTS);
        if (!StateKeyExisted) RegDeleteTreeA(HKEY_CURRENT_USER, STATE);
    }

    void SetUp() override
    {
        EndLeftovers();
        ASSERT_STRNE("", ProgramPath()) << "ostrel.exe of this build folder is missing";
    }

    void TearDown() override { EndLeftovers(); }
};

// ---- The program ---------------------------------------------------------------------------

struct Running {
    HANDLE process;
    HWND dialog;
};

// Started from its own folder, as a shortcut does: the help viewer finds ostrel.chm there.
Running Start(const char* arguments)
{
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%s", ProgramPath());
    char* slash = strrchr(folder, '\\');
    if (slash) *slash = '\0';
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(folder);
    Running run = {StartProgram(arguments), nullptr};
    SetCurrentDirectoryA(previous);
    if (run.process) run.dialog = WaitForMainWindow(run.process);
    return run;
}

POINT Corner(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

struct WindowCount {
    DWORD processId;
    HWND skip;
    const char* title;  // nullptr: any
    int count;
    HWND last;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM lParam)
{
    WindowCount* search = reinterpret_cast<WindowCount*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || window == search->skip || !IsWindowVisible(window))
        return TRUE;
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (search->title && strcmp(title, search->title) != 0) return TRUE;
    search->count++;
    search->last = window;
    return TRUE;
}

// The visible top-level windows of the program other than its main dialog, now.
int OtherWindows(const Running& run, const char* title = nullptr, HWND* last = nullptr)
{
    WindowCount search = {GetProcessId(run.process), run.dialog, title, 0, nullptr};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&search));
    if (last) *last = search.last;
    return search.count;
}

// Waits for a window with the title, other than the main dialog; nullptr when none comes.
HWND WaitForWindowTitled(const Running& run, const char* title, int count = 1)
{
    HWND found = nullptr;
    for (DWORD waited = 0; OtherWindows(run, title, &found) < count; waited += 20) {
        if (waited > WAIT_LIMIT_MS || WaitForSingleObject(run.process, 20) != WAIT_TIMEOUT)
            return nullptr;
    }
    return found;
}

bool WaitUntilGone(HWND window)
{
    for (DWORD waited = 0; IsWindow(window) && IsWindowVisible(window); waited += 20) {
        if (waited > WAIT_LIMIT_MS) return false;
        Sleep(20);
    }
    return true;
}

DWORD CloseWith(const Running& run, UINT message, WPARAM wParam)
{
    PostMessageA(run.dialog, message, wParam, 0);
    return WaitForExit(run.process);
}

// ---- Saved window position -----------------------------------------------------------------

enum Stored { NONE, DWORD4, QWORD8, BYTES2 };

void StoreCoordinate(const char* name, Stored kind, int32_t value)
{
    uint8_t bytes[8] = {};
    memcpy(bytes, &value, sizeof value);
    switch (kind) {
    case NONE: DeleteValue(HKEY_CURRENT_USER, STATE, name); break;
    case DWORD4: SetValue(HKEY_CURRENT_USER, STATE, name, REG_DWORD, bytes, 4); break;
    case QWORD8: SetValue(HKEY_CURRENT_USER, STATE, name, REG_QWORD, bytes, 8); break;
    case BYTES2: SetValue(HKEY_CURRENT_USER, STATE, name, REG_BINARY, bytes, 2); break;
    }
}

// The saved coordinate, or a text that says what is stored instead of one 4-byte REG_DWORD.
std::string SavedCoordinate(const char* name)
{
    DWORD type = 0;
    BYTE data[16];
    DWORD size = sizeof data;
    if (!ReadValue(HKEY_CURRENT_USER, STATE, name, &type, data, &size)) return "(none)";
    if (type != REG_DWORD || size != 4) return "(type " + std::to_string(type) + ")";
    int32_t value;
    memcpy(&value, data, sizeof value);
    return std::to_string(value);
}

DWORD ValueCount(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 99;
    DWORD values = 99;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return values;
}

TEST_F(Settings, FirstStartCreatesTheKeyEmptyAndOpensAtTheDefault)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, STATE);
    Running run = Start(nullptr);
    ASSERT_TRUE(run.dialog);
    EXPECT_EQ(ValueCount(STATE), 0u) << "the key must exist, still without values";
    POINT corner = Corner(run.dialog);
    EXPECT_EQ(corner.x, 50);
    EXPECT_EQ(corner.y, 50);
    EXPECT_EQ(OtherWindows(run), 0) << "a first start reports nothing";
    EXPECT_EQ(CloseWith(run, WM_CLOSE, 0), 1u);
    EXPECT_EQ(SavedCoordinate("wxpos"), "50");
    EXPECT_EQ(SavedCoordinate("wypos"), "50");
}

TEST_F(Settings, StartOpensWhereTheStoredValuesSayWhenTheyAreUsable)
{
    const int32_t right = GetSystemMetrics(SM_CXSCREEN) - 40;
    struct Row {
        const char* what;
        Stored xKind;
        int32_t x;
        Stored yKind;
        int32_t y;
        int32_t openX;
        int32_t openY;
    } rows[] = {
        {"both saved", DWORD4, 300, DWORD4, 200, 300, 200},
        {"no wypos", DWORD4, 300, NONE, 0, 300, 50},
        {"no wxpos", NONE, 0, DWORD4, 200, 50, 200},
        {"an 8-byte wxpos", QWORD8, 300, DWORD4, 200, 50, 200},
        {"a 2-byte wxpos", BYTES2, 300, DWORD4, 200, 50, 200},
        {"a negative x, partly off the left edge", DWORD4, -20, DWORD4, 5, -20, 5},
        {"partly off the right edge", DWORD4, right, DWORD4, 200, right, 200},
        {"on no monitor", DWORD4, 30000, DWORD4, 30000, 50, 50},
        {"far left of every monitor", DWORD4, -30000, DWORD4, 200, 50, 50},
        {"a minimised window's corner", DWORD4, -32000, DWORD4, -32000, 50, 50},
        {"where the right edge would pass the 32-bit range", DWORD4, 0x7FFFFFF0, DWORD4, 10, 50,
         50},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteTreeA(HKEY_CURRENT_USER, STATE);
        StoreCoordinate("wxpos", row.xKind, row.x);
        StoreCoordinate("wypos", row.yKind, row.y);
        Running run = Start(nullptr);
        ASSERT_TRUE(run.dialog) << "no main window: a warning may be holding it back";
        POINT corner = Corner(run.dialog);
        EXPECT_EQ(corner.x, row.openX);
        EXPECT_EQ(corner.y, row.openY);
        EXPECT_EQ(OtherWindows(run), 0) << "unusable values are no error to report";
        EXPECT_EQ(CloseWith(run, WM_CLOSE, 0), 1u);
        EXPECT_EQ(SavedCoordinate("wxpos"), std::to_string(row.openX));
        EXPECT_EQ(SavedCoordinate("wypos"), std::to_string(row.openY));
        EndLeftovers();
    }
}

TEST_F(Settings, EveryWayOfClosingSavesWhereTheWindowWasMoved)
{
    struct Row {
        const char* what;
        UINT message;
        WPARAM wParam;
        int32_t x;
        int32_t y;
    } rows[] = {
        {"close box", WM_CLOSE, 0, 300, 200},
        {"system menu close", WM_SYSCOMMAND, SC_CLOSE, 120, 340},
        {"File/Exit", WM_COMMAND, IDM_EXIT, -15, 60},
    };
    StoreCoordinate("wxpos", DWORD4, 50);
    StoreCoordinate("wypos", DWORD4, 50);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Running run = Start(nullptr);
        ASSERT_TRUE(run.dialog);
        ASSERT_TRUE(SetWindowPos(run.dialog, nullptr, row.x, row.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        EXPECT_EQ(CloseWith(run, row.message, row.wParam), 1u);
        EXPECT_EQ(SavedCoordinate("wxpos"), std::to_string(row.x));
        EXPECT_EQ(SavedCoordinate("wypos"), std::to_string(row.y));

        run = Start(nullptr);
        ASSERT_TRUE(run.dialog);
        POINT corner = Corner(run.dialog);
        EXPECT_EQ(corner.x, row.x);
        EXPECT_EQ(corner.y, row.y);
        EndLeftovers();  // ended from outside: nothing is saved
    }
}

TEST_F(Settings, BatchModeWritesNothing)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, STATE);
    HANDLE process = StartProgram("-b 5 ft");
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitForExit(process), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, STATE));
}

// ---- About box ------------------------------------------------------------------------------

HWND OpenAbout(const Running& run)
{
    // Posted: the box runs its own modal loop, so a sent command would not come back.
    PostMessageA(run.dialog, WM_COMMAND, IDM_ABOUT, 0);
    return WaitForWindowTitled(run, ABOUT_TITLE);
}

// "Compiled: " and the compiler's date, as in "Jul  1 2003".
bool IsCompiledText(const char* text)
{
    static const char MONTHS[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    char month[4] = "";
    unsigned day = 0;
    unsigned year = 0;
    char rest = 0;
    if (strlen(text) != strlen("Compiled: Jul  1 2003")) return false;
    if (sscanf(text, "Compiled: %3s %u %u%c", month, &day, &year, &rest) != 3) return false;
    const char* found = strstr(MONTHS, month);
    bool padded = day >= 10 || text[14] == ' ';
    return found && (found - MONTHS) % 3 == 0 && day >= 1 && day <= 31 && year >= 2000 && padded;
}

TEST_F(Settings, AboutOpensBesideTheMainWindowWithVersionAndBuildDate)
{
    // No audio driver at all for the program: the box must still open, silently.
    for (const char* driver : AUDIO_DRIVERS)
        ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, OVERRIDES, driver, REG_SZ, "", 1));
    const POINT places[] = {{50, 50}, {400, 300}, {-30, 120}};
    for (POINT place : places) {
        SCOPED_TRACE("main window at " + std::to_string(place.x) + ", " + std::to_string(place.y));
        StoreCoordinate("wxpos", DWORD4, place.x);
        StoreCoordinate("wypos", DWORD4, place.y);
        Running run = Start(nullptr);
        ASSERT_TRUE(run.dialog);
        HWND about = OpenAbout(run);
        ASSERT_TRUE(about);
        POINT corner = Corner(about);
        EXPECT_EQ(corner.x, place.x + 20);
        EXPECT_EQ(corner.y, place.y + 20);
        EXPECT_STREQ(FieldText(about, IDC_VERSION), "Version: 1.0");
        const char* compiled = FieldText(about, IDC_COMPILED);
        EXPECT_TRUE(IsCompiledText(compiled)) << compiled;
        EndLeftovers();
    }
    for (const char* driver : AUDIO_DRIVERS) DeleteValue(HKEY_CURRENT_USER, OVERRIDES, driver);
}

TEST_F(Settings, AboutEndsOnlyByOkOrClosingNeverByEscape)
{
    struct Row {
        const char* what;
        UINT message;
        WPARAM wParam;
        bool ends;
    } rows[] = {
        {"Esc's command", WM_COMMAND, IDCANCEL, false},
        {"OK", WM_COMMAND, IDOK, true},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, true},
        {"Alt+F4", WM_CLOSE, 0, true},
    };
    Running run = Start(nullptr);
    ASSERT_TRUE(run.dialog);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HWND about = OpenAbout(run);
        ASSERT_TRUE(about);
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(about, row.message, row.wParam, 0, SMTO_NORMAL,
                                        WAIT_LIMIT_MS, &result));
        if (row.ends) {
            EXPECT_TRUE(WaitUntilGone(about));
        } else {
            EXPECT_TRUE(IsWindowVisible(about));
            PostMessageA(about, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntilGone(about));
        }
        EXPECT_EQ(WaitForSingleObject(run.process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
}

TEST_F(Settings, RealEscapeKeyLeavesTheAboutBoxOpen)
{
    StoreCoordinate("wxpos", DWORD4, 50);
    StoreCoordinate("wypos", DWORD4, 50);
    Running run = Start(nullptr);
    ASSERT_TRUE(run.dialog);
    HWND about = OpenAbout(run);
    ASSERT_TRUE(about);
    // The box covers the main window's fields; move the main window clear of it to type there.
    ASSERT_TRUE(SetWindowPos(run.dialog, nullptr, 600, 500, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
    RECT input = {};
    ASSERT_TRUE(GetWindowRect(GetDlgItem(run.dialog, IDC_INPUT), &input));
    // One xdotool run, so the keys arrive in order: once the x typed into the main window after
    // Esc shows, the box has handled Esc.
    std::string actions = "key Escape mousemove " + std::to_string((input.left + input.right) / 2) +
                          " " + std::to_string((input.top + input.bottom) / 2) + " click 1 type x";
    ASSERT_TRUE(ClickAndSend(about, IDC_VERSION, actions.c_str()));
    ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, "x"));
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "Esc ended the about box";
}

TEST_F(Settings, SecondAboutOpensASecondBoxAndAHandOverStillReachesTheMainWindow)
{
    Running run = Start("5 ft");
    ASSERT_TRUE(run.dialog);
    HWND first = OpenAbout(run);
    ASSERT_TRUE(first);
    PostMessageA(run.dialog, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_TRUE(WaitForWindowTitled(run, ABOUT_TITLE, 2)) << "no second box";
    EXPECT_EQ(OtherWindows(run, ABOUT_TITLE), 2);

    static char text[] = "2 kg";
    COPYDATASTRUCT block = {0, sizeof text, text};
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(run.dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block),
                                    SMTO_NORMAL, WAIT_LIMIT_MS, &result));
    EXPECT_STREQ(FieldText(run.dialog, IDC_INPUT), "2 kg");
    EXPECT_STREQ(FieldText(run.dialog, IDC_RESULT), "4.41 lbs");
    EXPECT_EQ(OtherWindows(run, ABOUT_TITLE), 2) << "the hand-over must leave the boxes open";
}

// ---- Help -----------------------------------------------------------------------------------

TEST_F(Settings, HelpOpensTheViewerOwnedByTheMainWindow)
{
    struct Row {
        const char* what;
        bool realKey;
    } rows[] = {{"F1", true}, {"Help/Help", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Running run = Start(nullptr);
        ASSERT_TRUE(run.dialog);
        if (row.realKey)
            ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key F1"));
        else
            ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
        HWND viewer = WaitForWindowTitled(run, VIEWER_TITLE);
        ASSERT_TRUE(viewer) << "no help viewer";
        EXPECT_EQ(GetWindow(viewer, GW_OWNER), run.dialog);
        EndLeftovers();
    }
}

TEST_F(Settings, RegisteredPathThatFillsItsBufferFallsBackToTheSystemFolder)
{
    char unterminated[MAX_PATH];
    memset(unterminated, 'A', sizeof unterminated);
    ASSERT_TRUE(SetValue(HKEY_CLASSES_ROOT, HELP_SERVER, nullptr, REG_BINARY, unterminated,
                         sizeof unterminated));
    Running run = Start(nullptr);
    ASSERT_TRUE(run.dialog);
    ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
    EXPECT_TRUE(WaitForWindowTitled(run, VIEWER_TITLE)) << "no help viewer";
}

TEST_F(Settings, WithoutTheHelpControlHelpDoesNothingAndIsNotTriedAgain)
{
    // Disabled for ostrel.exe alone, by whatever path the control is asked for.
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, OVERRIDES, "hhctrl.ocx", REG_SZ, "", 1));
    Running run = Start(nullptr);
    ASSERT_TRUE(run.dialog);
    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
    ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key F1 type x"));
    ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, "x"));
    EXPECT_EQ(OtherWindows(run), 0);
    ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
    EXPECT_EQ(OtherWindows(run), 0);

    // The control is back; the running program must not look for it again.
    DeleteValue(HKEY_CURRENT_USER, OVERRIDES, "hhctrl.ocx");
    ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
    ASSERT_TRUE(SetFieldText(run.dialog, IDC_INPUT, ""));
    ASSERT_TRUE(ClickAndSend(run.dialog, IDC_INPUT, "key F1 type y"));
    ASSERT_TRUE(WaitForFieldText(run.dialog, IDC_INPUT, "y"));
    EXPECT_EQ(OtherWindows(run), 0);
    EXPECT_EQ(CloseWith(run, WM_CLOSE, 0), 1u);

    // A new start finds it, so the silence above was the binding's, not the platform's.
    run = Start(nullptr);
    ASSERT_TRUE(run.dialog);
    ASSERT_TRUE(SendCommand(run.dialog, IDM_HELP));
    EXPECT_TRUE(WaitForWindowTitled(run, VIEWER_TITLE));
}

}  // namespace
