// Drives the real ostrel.exe of this build folder from outside, as a user and other programs do:
// processes, windows, dialog fields, commands, the clipboard, the registry and real X input.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// Every wait for the program is bounded by this. Reaching it means the program hangs or never
// did what was awaited; it is never used to measure speed.
constexpr DWORD WAIT_LIMIT_MS = 10000;

extern const char MAIN_CLASS[];  // "#32770"
extern const char MAIN_TITLE[];  // "Ostrel"
extern const char STATE_KEY[];   // the saved position's key under HKEY_CURRENT_USER

void DispatchPending();  // lets the test's own windows answer what the program sends them

// Polls done() until it holds (true) or WAIT_LIMIT_MS pass (false), dispatching meanwhile.
template <class Done>
bool WaitFor(Done done)
{
    for (DWORD start = GetTickCount(); !done(); DispatchPending()) {
        if (GetTickCount() - start > WAIT_LIMIT_MS) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Full Windows path of the program under test; empty when it has not been built.
const char* ProgramPath();

// Starts the program from its own folder, as a shortcut does (help finds ostrel.chm there).
// arguments is the command-line text after the quoted program name; nullptr gives none. Returns
// the process handle, owned by the driver (see EndLeftovers), or nullptr.
HANDLE StartProgram(const char* arguments);

// StartProgram, then the main dialog (MAIN_CLASS, MAIN_TITLE) once its modal loop answers.
struct Instance {
    HANDLE process;
    HWND dialog;  // nullptr when none answered in time
};
Instance OpenProgram(const char* arguments);

// The visible top-level windows of process other than skip, titled title (nullptr: any title).
int CountWindows(HANDLE process, HWND skip, const char* title = nullptr);
// The last of them once there are count; nullptr if the process ends or time runs out first.
HWND WaitForWindow(HANDLE process, HWND skip, const char* title = nullptr, int count = 1);

POINT Corner(HWND window);

// The exit code once the process has ended, or STILL_ACTIVE at the limit. When sawWindow is
// given, it tells whether the process showed any window meanwhile.
DWORD WaitForExit(HANDLE process, bool* sawWindow = nullptr);

// Ends every process StartProgram created and any main dialog an aborted run left behind, at
// once, as a task manager would: nothing is saved. Under Wine an orderly close takes seconds, so
// cases that do not test closing end the program this way; and one failed case cannot disturb
// the next.
void EndLeftovers();

// Every test case: nothing of ours runs at its start or after its end.
class E2E : public testing::Test {
protected:
    void SetUp() override
    {
        EndLeftovers();
        ASSERT_STRNE("", ProgramPath()) << "ostrel.exe of this build folder is missing";
    }
    void TearDown() override { EndLeftovers(); }
};

// Dialog fields and commands, through sent messages that time out.
// A control's text (up to 4095 characters) in a buffer valid until the next call; "(no answer)"
// when the dialog does not answer in time.
const char* FieldText(HWND dialog, int control);
bool SetFieldText(HWND dialog, int control, const char* text);  // as if typed, pressing nothing
bool SendCommand(HWND dialog, WORD command);                    // as a menu item or button does
bool WaitForFieldText(HWND dialog, int control, const char* expected);  // for X keystrokes

// The clipboard, as another program uses it: CF_TEXT only.
// Replaces the clipboard's contents with a block of exactly size bytes; nullptr leaves it empty.
bool PutClipboardBytes(const void* data, size_t size);
bool PutClipboard(const char* text);  // the text and its terminator
// The CF_TEXT data (up to 4095 characters) in a buffer like FieldText's; nullptr when none.
const char* ClipboardText();

// The registry of this prefix, which belongs to the tests alone.
bool SetRegValue(HKEY root, const char* path, const char* name, DWORD type, const void* data,
                 DWORD size);
// A coordinate as the program saves one: a 4-byte REG_DWORD.
bool StoreCoordinate(const char* name, LONG value);
const char* SavedCoordinate(const char* name);  // as text, in a buffer like FieldText's

// Moves the real pointer onto the control, clicks it, then runs the xdotool actions given (for
// example "type 5'10 key Return"). False when xdotool cannot be started; it runs without a
// handle, so the caller waits for the effect that the input must have.
bool ClickAndSend(HWND dialog, int control, const char* actions);

// A visible top-level window of the test's own; it counts the WM_COPYDATA it gets.
HWND CreateForeignWindow(const char* title);
extern int ForeignCopyData;
