// What only the main dialog's procedure sees: its icon, a WM_COPYDATA without a block (which Wine
// will not carry between processes), and dispatch on the message's low 16 bits.
#include "app.h"
#include "maindlg.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(MainDialog, IconNoBlockAndLowWordDispatch)
{
    AppInstance = GetModuleHandleA(nullptr);
    strcpy(InputText, "5 ft");
    HWND dialog = CreateDialogParamA(AppInstance, "OSTRELDLG", nullptr, MainDialogProc, 0);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));

    SetDlgItemTextA(dialog, IDC_INPUT, "before");
    SendMessageA(dialog, WM_COPYDATA, 0, 0);
    char text[16] = "";
    GetDlgItemTextA(dialog, IDC_INPUT, text, sizeof text);
    EXPECT_STREQ(text, "before");

    ShowWindow(dialog, SW_SHOW);
    EXPECT_TRUE(MainDialogProc(dialog, 0x10000 | WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindowVisible(dialog)) << "a message whose low word is WM_CLOSE closes";
    DestroyWindow(dialog);
}

}  // namespace
