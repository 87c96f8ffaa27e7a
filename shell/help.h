// Help: opens the usage topic of ostrel.chm in the HTML Help viewer, bound at run time so that
// the program runs where the viewer is missing.
#pragma once

#include <windows.h>

// Opens the topic "/html/usage.htm" of ostrel.chm, by its full path when it lies beside the
// program, owned by owner; returns the viewer's window, or nullptr when there is no viewer (then
// nothing is shown, and a failed load is never tried again).
HWND ShowHelp(HWND owner);

// Closes the viewer's windows, as its documentation asks before the process ends; only when
// help was bound.
void CloseHelp();

// Where the viewer's library is loaded from first: the library registered for the control's class
// under classes (HKEY_CLASSES_ROOT in the program). Fills path (MAX_PATH bytes) and returns it, or
// nullptr when it has nothing usable; hhctrl.ocx in the system folder is tried next.
const char* RegisteredHelpControl(HKEY classes, char* path);
