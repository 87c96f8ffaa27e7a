// A fatal signal in a real process: one message box without an owner, found from outside, and an
// exit code equal to the signal number once it is dismissed.
#include "winutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ProbePath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string probe = path;
    return probe.substr(0, probe.find_last_of("\\/") + 1) + "fatal_signal_probe.exe";
}

struct SignalCase {
    const char* argument;
    const char* message;
    DWORD exitCode;
};

const SignalCase SignalCases[] = {
    {"int", "interrupted: interrupt", 2},
    {"term", "interrupted: termination signal", 15},
    {"segv", "interrupted: segmentation error", 11},
    {"other", "interrupted: call for undefined signal\nmessage", 99},
};

TEST(FatalSignal, OneMessageThenExitWithTheSignalNumber)
{
    for (const SignalCase& c : SignalCases) {
        PROCESS_INFORMATION process = StartProcess(ProbePath(), c.argument);
        ASSERT_TRUE(process.hProcess) << ProbePath();
        HWND box = WaitForWindow(process.dwProcessId, "#32770", nullptr);
        ASSERT_TRUE(box) << c.argument << ": no message box";
        EXPECT_EQ(MessageBoxText(box), c.message);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        PressOk(box);
        EXPECT_EQ(WaitForExit(process), c.exitCode) << c.argument;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace
