// The about box: name, icon, version and build date, next to the main window. Modeless and
// unowned, so that the main window stays usable and each About opens a box of its own.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
