// Start-up of the real ostrel.exe and its single-instance rules: a hand-over needs
// both the mutex of a running instance and a dialog titled "Ostrel"; a foreign window with that
// title never stops a start, and a mutex without a dialog gets the "already running" warning.
#include "resource.h"
#include "winutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string Program = OSTREL_EXE;

DWORD RunToEnd(const std::string& arguments)
{
    PROCESS_INFORMATION process = StartProcess(Program, arguments);
    DWORD code = WaitForExit(process);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// Starts ostrel.exe and returns its main dialog (null if none appears).
HWND StartInteractive(PROCESS_INFORMATION* process, const std::string& arguments)
{
    *process = StartProcess(Program, arguments);
    if (!process->hProcess) return nullptr;
    HWND dialog = WaitForWindow(process->dwProcessId, "#32770", "Ostrel");
    WaitForInputIdle(process->hProcess, 30000);  // shown, activated and waiting for input
    return dialog;
}

DWORD CloseInteractive(PROCESS_INFORMATION* process, HWND dialog)
{
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    DWORD code = WaitForExit(*process);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    return code;
}

TEST(Startup, ForeignOstrelWindowDoesNotStopAStart)
{
    HWND foreign = CreateWindowExA(0, "STATIC", "Ostrel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    PROCESS_INFORMATION first;
    HWND dialog = StartInteractive(&first, " 5 ft ");
    ASSERT_TRUE(dialog) << "the foreign window stopped the start";
    EXPECT_EQ(ItemText(dialog, IDC_INPUT), "5 ft");
    EXPECT_EQ(ItemText(dialog, IDC_RESULT), "1.52 m");

    // With the foreign window above it, a second start still finds the real dialog.
    SetWindowPos(foreign, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(foreign);
    EXPECT_EQ(RunToEnd("2 kg"), 1u);
    EXPECT_EQ(ItemText(dialog, IDC_INPUT), "2 kg");
    EXPECT_EQ(ItemText(dialog, IDC_RESULT), "4.41 lbs");
    EXPECT_EQ(RunToEnd(""), 1u);
    EXPECT_EQ(ItemText(dialog, IDC_INPUT), "2 kg");

    EXPECT_EQ(CloseInteractive(&first, dialog), 1u);
    DestroyWindow(foreign);
}

DWORD WINAPI ShowForeignDialog(void*)
{
    MessageBoxA(nullptr, "not Ostrel", "Ostrel", MB_OK);
    return 0;
}

TEST(Startup, ForeignOstrelDialogWithoutTheMutexDoesNotStopAStart)
{
    HANDLE thread = CreateThread(nullptr, 0, ShowForeignDialog, nullptr, 0, nullptr);
    HWND foreign = WaitForWindow(GetCurrentProcessId(), "#32770", "Ostrel");
    ASSERT_TRUE(foreign);

    PROCESS_INFORMATION process;
    HWND dialog = StartInteractive(&process, "2 kg");
    ASSERT_TRUE(dialog) << "the foreign dialog stopped the start";
    EXPECT_EQ(ItemText(dialog, IDC_RESULT), "4.41 lbs");
    EXPECT_EQ(CloseInteractive(&process, dialog), 1u);

    PressOk(foreign);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

TEST(Startup, MutexWithoutDialogIsAlreadyRunning)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "Ostrel");
    PROCESS_INFORMATION process = StartProcess(Program, "5 ft");
    HWND box = WaitForWindow(process.dwProcessId, "#32770", nullptr);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "Ostrel is already running");
    PressOk(box);
    EXPECT_EQ(WaitForExit(process), 1u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(mutex);
}

}  // namespace
