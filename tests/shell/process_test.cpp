// Whole processes watched from outside, with bounded waits: the fatal-signal message and exit code,
// and a start beside a foreign dialog with the program's title.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const int GUARD_STEPS = 600;  // of 50 ms: a lost window fails the test instead of hanging it

PROCESS_INFORMATION Start(const char* program, const char* arguments)
{
    std::string commandLine = std::string("\"") + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    return process;
}

BOOL CALLBACK FirstVisible(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The first visible window of the process's main thread: its main dialog or a message box.
HWND WaitForWindow(const PROCESS_INFORMATION& process)
{
    HWND found = nullptr;
    for (int step = 0; step < GUARD_STEPS && !found; ++step) {
        EnumThreadWindows(process.dwThreadId, FirstVisible, reinterpret_cast<LPARAM>(&found));
        if (!found) Sleep(50);
    }
    return found;
}

DWORD WaitForExit(PROCESS_INFORMATION* process)
{
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process->hProcess, GUARD_STEPS * 50);
    GetExitCodeProcess(process->hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process->hProcess, 1);  // never left behind for the next test
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    return code;
}

const struct {
    const char* argument;
    const char* message;
    DWORD exitCode;
} SignalCases[] = {
    {"int", "interrupted: interrupt", 2},
    {"segv", "interrupted: segmentation error", 11},
    {"other", "interrupted: call for undefined signal\nmessage", 99},
};

TEST(FatalSignal, OneUnownedMessageThenExitWithTheSignalNumber)
{
    for (const auto& c : SignalCases) {
        PROCESS_INFORMATION process = Start(PROBE_EXE, c.argument);
        HWND box = WaitForWindow(process);
        EXPECT_TRUE(box) << c.argument << ": no message box";
        char text[128] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(text, c.message);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << c.argument;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(WaitForExit(&process), c.exitCode) << c.argument;
    }
}

// Only a running instance's mutex makes a window titled "Ostrel" one to hand over to.
TEST(Startup, AForeignDialogTitledOstrelDoesNotStopAStart)
{
    HWND foreign = CreateWindowExA(0, "#32770", "Ostrel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    PROCESS_INFORMATION process = Start(OSTREL_EXE, "2 kg");
    HWND dialog = WaitForWindow(process);
    DestroyWindow(foreign);
    EXPECT_TRUE(dialog) << "the start took the foreign dialog for a running instance";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(&process), 1u);
}

}  // namespace
