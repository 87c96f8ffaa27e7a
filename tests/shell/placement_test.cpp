// PlaceWindow on a real top-level window: moves keep the size and need no clamping, the
// foreground flag moves nothing, and no flags touch nothing.
#include "placement.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow(bool minimised)
{
    HWND window = CreateWindowExA(0, "STATIC", "placement test", WS_OVERLAPPEDWINDOW, 100, 120, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (minimised) ShowWindow(window, SW_SHOWMINNOACTIVE);
    return window;
}

struct PlaceCase {
    const char* name;
    UINT flags;
    int x, y;
    bool minimised;
    bool succeeds;
    POINT corner;  // expected top-left afterwards
    bool visible;
    bool foreground;
};

const PlaceCase PlaceCases[] = {
    {"no flags", 0, 0, 0, false, false, {100, 120}, false, false},
    {"move off the left edge", PW_MOVE, -20, 5, false, true, {-20, 5}, true, true},
    {"move far right", PW_MOVE, 700, 40, false, true, {700, 40}, true, true},
    {"foreground only", PW_FOREGROUND, 0, 0, false, true, {100, 120}, false, true},
    {"foreground leaves a minimised window minimised", PW_FOREGROUND, 0, 0, true, true, {-1, -1}, true, true},
    {"foreground and move", PW_FOREGROUND | PW_MOVE, 30, 60, false, true, {30, 60}, true, true},
};

TEST(PlaceWindow, FlagsMoveAndForeground)
{
    for (const PlaceCase& c : PlaceCases) {
        HWND window = MakeWindow(c.minimised);
        RECT before;
        GetWindowRect(window, &before);
        BOOL result = (c.flags & PW_MOVE) ? PlaceWindow(window, c.flags, c.x, c.y)
                                          : PlaceWindow(window, c.flags);
        RECT after;
        GetWindowRect(window, &after);

        EXPECT_EQ(result != FALSE, c.succeeds) << c.name;
        EXPECT_EQ(after.right - after.left, before.right - before.left) << c.name;
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << c.name;
        if (c.corner.x != -1) {
            EXPECT_EQ(after.left, c.corner.x) << c.name;
            EXPECT_EQ(after.top, c.corner.y) << c.name;
        }
        EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible) << c.name;
        EXPECT_EQ(IsIconic(window) != FALSE, c.minimised) << c.name;
        EXPECT_EQ(GetForegroundWindow() == window, c.foreground) << c.name;
        DestroyWindow(window);
    }
}

}  // namespace
