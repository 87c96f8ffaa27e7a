// Saved window position: the main window's top-left corner, kept per user as two signed DWORDs.
#include "position.h"

#include <climits>
#include <cstdint>

#include "message.h"
#include "placement.h"
#include "registry.h"

namespace {

constexpr int32_t DEFAULT_POSITION = 50;

// A corner saved on a monitor that is gone (or a minimised window's far-away rectangle) would
// reopen the window where nobody can reach it.
bool IsOnSomeMonitor(HWND window, int32_t x, int32_t y)
{
    RECT now;
    if (!GetWindowRect(window, &now)) return true;
    long long right = static_cast<long long>(x) + (now.right - now.left);
    long long bottom = static_cast<long long>(y) + (now.bottom - now.top);
    if (right > INT_MAX || bottom > INT_MAX) return false;
    RECT there = {x, y, static_cast<LONG>(right), static_cast<LONG>(bottom)};
    return MonitorFromRect(&there, MONITOR_DEFAULTTONULL) != nullptr;
}

// A minimised window's rectangle lies far off screen: its restored place is the one to keep. That
// comes in workspace coordinates, which a taskbar on the left or top shifts from the screen's.
bool RestoredRect(HWND window, RECT* rect)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowPlacement(window, &placement) ||
        !GetMonitorInfoA(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    *rect = placement.rcNormalPosition;
    OffsetRect(rect, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    return true;
}

}  // namespace

void RestoreWindowPosition(HWND dialog)
{
    int32_t x = DEFAULT_POSITION;
    int32_t y = DEFAULT_POSITION;
    if (RegEnsureKey(STATE_KEY, ReportToMainWindow) == 0) {
        if (!RegReadValue(STATE_KEY, "wxpos", &x, sizeof x, ReportToMainWindow))
            x = DEFAULT_POSITION;
        if (!RegReadValue(STATE_KEY, "wypos", &y, sizeof y, ReportToMainWindow))
            y = DEFAULT_POSITION;
    }
    if (!IsOnSomeMonitor(dialog, x, y)) {
        x = DEFAULT_POSITION;
        y = DEFAULT_POSITION;
    }
    PlaceWindow(dialog, PW_MOVE, x, y);
}

void SaveWindowPosition(HWND dialog)
{
    if (RegEnsureKey(STATE_KEY, ReportToMainWindow) != 0) return;
    RECT rect;
    if (!(IsIconic(dialog) ? RestoredRect(dialog, &rect) : GetWindowRect(dialog, &rect) != FALSE)) return;
    int32_t left = rect.left;
    int32_t top = rect.top;
    RegWriteValue(STATE_KEY, "wxpos", REG_DWORD, &left, sizeof left, ReportToMainWindow);
    RegWriteValue(STATE_KEY, "wypos", REG_DWORD, &top, sizeof top, ReportToMainWindow);
}
