// Drives the real ostrel.exe of this build folder from outside, as a user and other programs do:
// processes, window search, dialog fields, menu commands, the clipboard and real X input.
#pragma once

#include <windows.h>

// Every wait for the program is bounded by this. Reaching it means the program hangs or never
// did what was awaited; it is never used to measure speed.
constexpr DWORD WAIT_LIMIT_MS = 10000;

// The main dialog's window class and title.
extern const char MAIN_CLASS[];  // "#32770"
extern const char MAIN_TITLE[];  // "Ostrel"

// ---- Processes ------------------------------------------------------------------------------

// Full Windows path of the program under test; empty when it has not been built.
const char* ProgramPath();

// Starts the program with CreateProcess, as a shell would. arguments is the command-line text
// after the quoted program name; nullptr gives no text at all. Returns the process handle, or
// nullptr when the process cannot be created. The driver owns the handle (see EndLeftovers).
HANDLE StartProgram(const char* arguments);

// The program's main dialog (MAIN_CLASS, MAIN_TITLE, owned by process) once it is shown and its
// modal loop answers messages; nullptr if the process ends first or nothing appears in time.
HWND WaitForMainWindow(HANDLE process);

// Any visible top-level window of process other than skip, once one appears (a message box, for
// instance); nullptr if the process ends first or nothing appears in time.
HWND WaitForOtherWindow(HANDLE process, HWND skip);

// The exit code once the process has ended, or STILL_ACTIVE when it still runs at the limit.
// Messages of the calling thread are dispatched meanwhile, so the test's own windows answer the
// program. When sawWindow is given, it tells whether a visible window of the process was seen.
DWORD WaitForExit(HANDLE process, bool* sawWindow = nullptr);

// Ends the process at once, as a task manager would, and waits until it is gone. Under Wine a
// process that had windows takes seconds to end after an orderly close; cases that do not test
// closing end the program this way.
void EndProgram(HANDLE process);

// Ends every process that StartProgram created and that still runs, and any main dialog left by
// an earlier run, so that one failed case cannot disturb the next. Call it at the start and the
// end of every test.
void EndLeftovers();

// ---- Dialog fields and commands -------------------------------------------------------------

// A control's text, read with WM_GETTEXT as any process may (up to 4095 characters); valid until
// the next call. "(no answer)" when the dialog does not answer in time.
const char* FieldText(HWND dialog, int control);

// Sets a control's text with WM_SETTEXT, as if it had been typed, without pressing anything.
bool SetFieldText(HWND dialog, int control, const char* text);

// Sends WM_COMMAND with the given id, as a menu item or button does; false when the dialog does
// not answer in time.
bool SendCommand(HWND dialog, WORD command);

// Waits until the control shows expected, for input that arrives on its own (X keystrokes).
bool WaitForFieldText(HWND dialog, int control, const char* expected);

// ---- Clipboard, as another program uses it: CF_TEXT only -----------------------------------

// Replaces the clipboard's contents with text (a block of its length plus one); nullptr leaves
// the clipboard empty. False when the clipboard cannot be opened or refuses the data.
bool PutClipboard(const char* text);

// The clipboard's CF_TEXT data (up to 4095 characters) in a static buffer, or nullptr when it
// holds none or cannot be opened.
const char* ClipboardText();

// ---- Real X input ---------------------------------------------------------------------------

// Moves the real pointer onto the control, clicks it, then runs the xdotool actions given (for
// example "type 5'10 key Return"). Returns false when xdotool cannot be started; it runs
// without a handle, so the caller waits for the effect that the input must have.
bool ClickAndSend(HWND dialog, int control, const char* actions);

// ---- Windows of the test's own --------------------------------------------------------------

// A visible plain top-level window of the test's own class with the given title; it counts the
// WM_COPYDATA messages it receives.
HWND CreateForeignWindow(const char* title);
int ForeignCopyDataCount();
