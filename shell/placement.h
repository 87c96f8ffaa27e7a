// The one routine that moves top-level windows: to the foreground, and to a screen position.
#pragma once

#include <windows.h>

constexpr UINT PW_FOREGROUND = 1;  // bring the window to the foreground
constexpr UINT PW_RESTORE = 2;     // first restore it if it is minimised
constexpr UINT PW_MOVE = 4;        // move the top-left corner to the int x, y that follow the flags

// Non-zero on success; 0 on failure or when flags is 0.
BOOL PlaceWindow(HWND window, UINT flags, ...);
