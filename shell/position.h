// The main window reopens where it was last closed: its top-left corner is kept per user in the
// registry.
#pragma once

#include <windows.h>

// Under HKEY_CURRENT_USER; holds the REG_DWORD values "wxpos" and "wypos".
constexpr char STATE_KEY[] = "Software\\Ostrel\\State";

// Reads the saved corner (50 for each value that is missing or unusable, both 50 when the
// window would lie on no monitor there; moved just enough when its title bar could not be taken
// hold of, by its full height and 64 pixels of its width within a monitor's work area) and moves,
// shows and activates the dialog.
void RestoreWindowPosition(HWND dialog);

// Writes the dialog's corner, where it would be restored to when it is minimised; failures are
// reported and otherwise ignored.
void SaveWindowPosition(HWND dialog);
