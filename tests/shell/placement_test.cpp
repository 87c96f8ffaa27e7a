// PlaceWindow's flags on a real top-level window: a move keeps the size and shows the window, the
// foreground flag alone moves and restores nothing, and no flags touch nothing.
#include "placement.h"

#include <gtest/gtest.h>

namespace {

const struct {
    const char* name;
    UINT flags;
    bool minimised;
    bool succeeds;
    POINT corner;  // expected top-left afterwards; x -1: not checked (a minimised window's)
    bool visible;
} PlaceCases[] = {
    {"no flags", 0, false, false, {100, 120}, false},
    {"foreground only", PW_FOREGROUND, false, true, {100, 120}, false},
    {"foreground leaves a minimised window minimised", PW_FOREGROUND, true, true, {-1, 0}, true},
    {"foreground and move", PW_FOREGROUND | PW_MOVE, false, true, {-20, 60}, true},
};

TEST(PlaceWindow, FlagsMoveAndForeground)
{
    for (const auto& c : PlaceCases) {
        HWND window = CreateWindowExA(0, "STATIC", "placement test", WS_OVERLAPPEDWINDOW, 100, 120, 300, 200,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (c.minimised) ShowWindow(window, SW_SHOWMINNOACTIVE);
        BOOL result = (c.flags & PW_MOVE) ? PlaceWindow(window, c.flags, -20, 60) : PlaceWindow(window, c.flags);
        RECT after;
        GetWindowRect(window, &after);
        EXPECT_EQ(result != FALSE, c.succeeds) << c.name;
        if (c.corner.x != -1) {
            EXPECT_EQ(after.left, c.corner.x) << c.name;
            EXPECT_EQ(after.top, c.corner.y) << c.name;
            EXPECT_EQ(after.right - after.left, 300) << c.name;
            EXPECT_EQ(after.bottom - after.top, 200) << c.name;
        }
        EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible) << c.name;
        EXPECT_EQ(IsIconic(window) != FALSE, c.minimised) << c.name;
        EXPECT_EQ(GetForegroundWindow() == window, c.succeeds) << c.name;
        DestroyWindow(window);
    }
}

}  // namespace
