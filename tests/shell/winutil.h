// Test helpers for real windows under Wine: finding a message box or a dialog from outside,
// reading it, pressing OK, and running a process to its end. Waits are bounded guards only.
#pragma once

#include <windows.h>

#include <string>

// The first visible top-level window of the process with this class and title (either may be
// null for any), other than skip; null when none turns up within the guard time.
HWND WaitForWindow(DWORD processId, const char* windowClass, const char* title, HWND skip = nullptr);

// The text of a message box: its static texts, in child order.
std::string MessageBoxText(HWND box);

// Presses a dialog's OK button.
void PressOk(HWND box);

// Starts "program arguments"; the handles are the caller's to close.
PROCESS_INFORMATION StartProcess(const std::string& program, const std::string& arguments);

// Waits for the process to end and returns its exit code (STILL_ACTIVE if the guard ran out).
DWORD WaitForExit(const PROCESS_INFORMATION& process);

// Reads a dialog item's text from this or another process.
std::string ItemText(HWND dialog, int id);

// The CF_TEXT now on the clipboard, read no further than its block; "<none>" without text.
std::string ClipboardText();

// Creates the main dialog from the real template, modeless, with InputText set to input.
HWND OpenMainDialog(const char* input);

// Catches the message box that the calling thread's code shows: a watcher thread notes the first
// box of this process other than skip and presses OK on it.
struct BoxWatch {
    HWND skip;
    HANDLE stop;
    HANDLE thread;
    std::string text;
};
void StartBoxWatch(BoxWatch* watch, HWND skip);
void StopBoxWatch(BoxWatch* watch);  // joins the watcher; text is final afterwards

// The text of the message box shown while action runs; empty when none was shown.
template <typename Action>
std::string WarningDuring(HWND skip, Action action)
{
    BoxWatch watch;
    StartBoxWatch(&watch, skip);
    action();
    StopBoxWatch(&watch);
    return watch.text;
}
