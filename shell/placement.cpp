// Window placement: restore, foreground and move, without clamping to the screen or resizing.
#include "placement.h"

#include <cstdarg>

BOOL PlaceWindow(HWND window, UINT flags, ...)
{
    if (flags == 0) return FALSE;
    BOOL result = TRUE;
    if ((flags & PW_RESTORE) && IsIconic(window)) ShowWindow(window, SW_RESTORE);
    if (flags & PW_FOREGROUND) {
        result = SetForegroundWindow(window);
        if (!result) return FALSE;
    }
    if (!(flags & PW_MOVE)) return result;

    va_list args;
    va_start(args, flags);
    int x = va_arg(args, int);
    int y = va_arg(args, int);
    va_end(args);
    // Showing, activating and raising is part of every move.
    return SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
}
