// Window, process and clipboard helpers shared by the shell's Wine tests.
#include "winutil.h"

#include "app.h"
#include "maindlg.h"

#include <cstring>

namespace {

const int GUARD_STEPS = 600;  // of 50 ms: a lost window fails the test instead of hanging it
const DWORD STEP_MS = 50;

struct Search {
    DWORD processId;
    const char* windowClass;
    const char* title;
    HWND skip;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    Search* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->skip || !IsWindowVisible(window)) return TRUE;
    char text[256] = "";
    if (search->windowClass) {
        GetClassNameA(window, text, sizeof text);
        if (lstrcmpA(text, search->windowClass) != 0) return TRUE;
    }
    if (search->title) {
        GetWindowTextA(window, text, sizeof text);
        if (lstrcmpA(text, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindNow(DWORD processId, const char* windowClass, const char* title, HWND skip)
{
    Search search = {processId, windowClass, title, skip, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM data)
{
    char text[1024] = "";
    GetClassNameA(child, text, sizeof text);
    if (lstrcmpiA(text, "Static") != 0) return TRUE;
    GetWindowTextA(child, text, sizeof text);
    std::string* all = reinterpret_cast<std::string*>(data);
    *all += text;
    return TRUE;
}

DWORD WINAPI WatchBoxes(void* data)
{
    BoxWatch* watch = static_cast<BoxWatch*>(data);
    while (WaitForSingleObject(watch->stop, STEP_MS) == WAIT_TIMEOUT) {
        HWND box = FindNow(GetCurrentProcessId(), "#32770", nullptr, watch->skip);
        if (!box) continue;
        watch->text = MessageBoxText(box);
        PressOk(box);
        return 0;
    }
    return 0;
}

}  // namespace

HWND WaitForWindow(DWORD processId, const char* windowClass, const char* title, HWND skip)
{
    for (int step = 0; step < GUARD_STEPS; ++step) {
        if (HWND found = FindNow(processId, windowClass, title, skip)) return found;
        Sleep(STEP_MS);
    }
    return nullptr;
}

std::string MessageBoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, AppendStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void PressOk(HWND box)
{
    LPARAM button = reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), button);
}

PROCESS_INFORMATION StartProcess(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        process = PROCESS_INFORMATION{};
    return process;
}

DWORD WaitForExit(const PROCESS_INFORMATION& process)
{
    DWORD code = STILL_ACTIVE;
    if (!process.hProcess) return code;
    WaitForSingleObject(process.hProcess, GUARD_STEPS * STEP_MS);
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

std::string ItemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string ClipboardText()
{
    std::string text = "<none>";
    if (!OpenClipboard(nullptr)) return "<not open>";
    HANDLE block = GetClipboardData(CF_TEXT);
    if (const char* data = block ? static_cast<const char*>(GlobalLock(block)) : nullptr) {
        size_t size = GlobalSize(block);
        size_t length = 0;
        while (length < size && data[length] != '\0') ++length;
        text.assign(data, length);
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

void StartBoxWatch(BoxWatch* watch, HWND skip)
{
    watch->skip = skip;
    watch->text.clear();
    watch->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watch->thread = CreateThread(nullptr, 0, WatchBoxes, watch, 0, nullptr);
}

void StopBoxWatch(BoxWatch* watch)
{
    SetEvent(watch->stop);
    WaitForSingleObject(watch->thread, INFINITE);
    CloseHandle(watch->thread);
    CloseHandle(watch->stop);
}

HWND OpenMainDialog(const char* input)
{
    AppInstance = GetModuleHandleA(nullptr);
    strcpy(InputText, input);
    return CreateDialogParamA(AppInstance, "OSTRELDLG", nullptr, MainDialogProc, 0);
}
