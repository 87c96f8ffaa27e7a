// Saved window position: the main window's top-left corner, kept per user as two signed DWORDs.
#include "position.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "message.h"
#include "placement.h"
#include "registry.h"

namespace {

constexpr int32_t DEFAULT_POSITION = 50;
constexpr LONG GRIP_WIDTH = 64;  // of the title bar, enough to take hold of it

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

// The title bar where it would lie with the window's corner at (x, y): the system's own measure of
// it, else the window's top band of a caption's height.
RECT TitleBarAt(HWND window, int32_t x, int32_t y)
{
    RECT now = {};
    RECT bar;
    TITLEBARINFO info = {};
    info.cbSize = sizeof info;
    GetWindowRect(window, &now);
    if (GetTitleBarInfo(window, &info) && !IsRectEmpty(&info.rcTitleBar)) {
        bar = info.rcTitleBar;
    } else {
        bar = now;
        bar.bottom = bar.top + GetSystemMetrics(SM_CYCAPTION);
    }
    OffsetRect(&bar, x - now.left, y - now.top);
    return bar;
}

// How far the title bar must move to lie within the work area by its full height and a grip's width.
POINT ShortfallIn(const RECT& bar, const RECT& work)
{
    const LONG grip = std::min(GRIP_WIDTH, bar.right - bar.left);
    POINT move = {0, 0};
    if (bar.right < work.left + grip) move.x = work.left + grip - bar.right;
    else if (bar.left > work.right - grip) move.x = work.right - grip - bar.left;
    if (bar.top < work.top) move.y = work.top - bar.top;
    else if (bar.bottom > work.bottom) move.y = work.bottom - bar.bottom;
    return move;
}

struct Reach {
    RECT bar;
    bool reached;  // within one monitor's work area
};

BOOL CALLBACK FindReach(HMONITOR monitor, HDC /*unused*/, LPRECT /*unused*/, LPARAM data)
{
    auto* reach = reinterpret_cast<Reach*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    const POINT move = GetMonitorInfoA(monitor, &info) ? ShortfallIn(reach->bar, info.rcWork) : POINT{1, 1};
    reach->reached = move.x == 0 && move.y == 0;
    return !reach->reached;
}

// A window restored where its title bar cannot be taken hold of is moved just enough that it can,
// into the work area of the monitor it lies on most.
void MakeReachable(HWND window, int32_t* x, int32_t* y)
{
    Reach reach = {TitleBarAt(window, *x, *y), false};
    EnumDisplayMonitors(nullptr, nullptr, FindReach, reinterpret_cast<LPARAM>(&reach));
    RECT now;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (reach.reached || !GetWindowRect(window, &now)) return;
    const RECT there = {*x, *y, *x + (now.right - now.left), *y + (now.bottom - now.top)};
    if (!GetMonitorInfoA(MonitorFromRect(&there, MONITOR_DEFAULTTONEAREST), &info)) return;
    const POINT move = ShortfallIn(reach.bar, info.rcWork);
    *x += move.x;
    *y += move.y;
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
    MakeReachable(dialog, &x, &y);
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
