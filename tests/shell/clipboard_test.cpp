// PutClipboardText's failures and Copy's warnings, provoked by a clipboard held open by another
// thread or by stand-ins swapped into this executable's imports. The success paths run end to end.
#include "app.h"
#include "clipboard.h"
#include "winutil.h"

#include <gtest/gtest.h>

namespace {

HANDLE Opened, Release;
DWORD WINAPI HoldClipboard(void*)
{
    OpenClipboard(nullptr);
    SetEvent(Opened);
    WaitForSingleObject(Release, INFINITE);
    CloseClipboard();
    return 0;
}

HGLOBAL Freed;
HANDLE WINAPI RefuseData(UINT, HANDLE) { return nullptr; }
LPVOID WINAPI FailLock(HGLOBAL) { return nullptr; }
HGLOBAL WINAPI NoteFree(HGLOBAL block)
{
    Freed = block;
    return nullptr;  // a test process can spare the bytes
}

const struct {
    const char* dll;  // none: another thread holds the clipboard open
    const char* function;
    ULONG_PTR standIn;
    int result;
    const char* warning;
} FailureCases[] = {
    {nullptr, "OpenClipboard", 0, CLIP_NOT_OPEN, "Error copying text to clipboard"},
    {"user32.dll", "SetClipboardData", reinterpret_cast<ULONG_PTR>(RefuseData), CLIP_REFUSED,
     "Error copying text to clipboard"},
    {"kernel32.dll", "GlobalLock", reinterpret_cast<ULONG_PTR>(FailLock), CLIP_NO_MEMORY, "Out of memory"},
};

TEST(PutClipboardText, FailuresAreCodedReportedAndLeakNothing)
{
    NoteMessageBoxes();
    Opened = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    Release = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // Wine lets two openers without a window share the clipboard: Copy's owner is a real window.
    MainWindow = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const ULONG_PTR realFree = SwapImport("kernel32.dll", "GlobalFree", reinterpret_cast<ULONG_PTR>(NoteFree));
    ASSERT_NE(realFree, 0u);
    for (const auto& c : FailureCases) {
        Freed = nullptr;
        ASSERT_EQ(PutClipboardText("before"), CLIP_OK) << c.function;
        EXPECT_EQ(Freed, nullptr) << "a block that the clipboard took is the clipboard's";
        ULONG_PTR real = 0;
        HANDLE holder = nullptr;
        if (c.dll) {
            real = SwapImport(c.dll, c.function, c.standIn);
            ASSERT_NE(real, 0u) << c.function << " is not imported";
        } else {
            holder = CreateThread(nullptr, 0, HoldClipboard, nullptr, 0, nullptr);
            WaitForSingleObject(Opened, INFINITE);
        }
        EXPECT_EQ(PutClipboardText("1.52 m"), c.result) << c.function;
        EXPECT_EQ(Freed != nullptr, c.dll != nullptr) << c.function << ": a block not handed over must be freed";
        LastBox = {};
        CopyResult();
        EXPECT_EQ(LastBox.text, c.warning) << c.function;
        if (c.dll) {
            SwapImport(c.standIn, real);
        } else {
            SetEvent(Release);
            WaitForSingleObject(holder, INFINITE);
            CloseHandle(holder);
        }
    }
    SwapImport(reinterpret_cast<ULONG_PTR>(NoteFree), realFree);
    DestroyWindow(MainWindow);
    MainWindow = nullptr;
}

}  // namespace
