// Help: opens the usage topic of ostrel.chm in the HTML Help viewer, bound at run time so that
// the program runs where the viewer is missing.
#pragma once

#include <windows.h>

// Opens the topic "/html/usage.htm" of ostrel.chm beside the program, by its full path, owned by
// owner; returns the viewer's window, or nullptr when nothing is shown. A help file missing there
// is said in a warning naming the file and the folder; no viewer is said by nothing (a failed
// load is never tried again).
HWND ShowHelp(HWND owner);

// Closes the viewer's windows, as its documentation asks before the process ends; only when
// help was bound.
void CloseHelp();

// Where the viewer's library is loaded from first: the library registered for the control's class
// under classes (HKEY_CLASSES_ROOT in the program), a REG_SZ or an expanded REG_EXPAND_SZ, taken
// only as an absolute path (X:\... or \\...). Fills path (MAX_PATH characters) and returns it,
// or nullptr when it has nothing usable; hhctrl.ocx in the system folder is tried next.
const wchar_t* RegisteredHelpControl(HKEY classes, wchar_t* path);
