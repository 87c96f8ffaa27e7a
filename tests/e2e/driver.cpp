// The end-to-end driver: starts ostrel.exe and observes and drives it only through the platform.
#include "driver.h"

#include <cstdio>
#include <cstring>

const char MAIN_CLASS[] = "#32770";
const char MAIN_TITLE[] = "Ostrel";

namespace {

constexpr DWORD POLL_MS = 20;
constexpr int MAX_STARTED = 64;
constexpr size_t TEXT_BUFFER_SIZE = 4096;

// The Unix xdotool, started through Wine (see ClickAndSend).
const char XDOTOOL_PATH[] = "Z:\\usr\\bin\\xdotool";
const char FOREIGN_CLASS[] = "OstrelE2EForeign";

char ProgramPathText[MAX_PATH];
HANDLE Started[MAX_STARTED];
int StartedCount;
char FieldBuffer[TEXT_BUFFER_SIZE];
char ClipboardBuffer[TEXT_BUFFER_SIZE];
char CommandLine[TEXT_BUFFER_SIZE];
int CopyDataCount;

struct WindowSearch {
    DWORD processId;
    HWND skip;
    const char* className;  // nullptr: any class
    const char* title;      // nullptr: any title
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (window == search->skip || !IsWindowVisible(window)) return TRUE;
    if (search->processId && processId != search->processId) return TRUE;
    char text[256];
    if (search->className) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, search->className) != 0) return TRUE;
    }
    if (search->title) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindVisibleWindow(DWORD processId, HWND skip, const char* className, const char* title)
{
    WindowSearch search = {processId, skip, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Lets the test's own windows answer messages sent to them while the test waits.
void DispatchPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool HasEnded(HANDLE process, DWORD ms)
{
    return MsgWaitForMultipleObjects(1, &process, FALSE, ms, QS_ALLINPUT) == WAIT_OBJECT_0;
}

// True once the window's thread answers a sent message, that is, runs its message loop.
bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, WAIT_LIMIT_MS, &result) != 0;
}

// The clipboard may be held for a moment by the program under test.
bool OpenClipboardWithin()
{
    DWORD start = GetTickCount();
    while (!OpenClipboard(nullptr)) {
        if (GetTickCount() - start > WAIT_LIMIT_MS) return false;
        Sleep(POLL_MS);
    }
    return true;
}

LRESULT CALLBACK ForeignWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        ++CopyDataCount;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

const char* ProgramPath()
{
    // OSTREL_PROGRAM is the Unix path of this build folder's ostrel.exe; Wine shows / as Z:.
    if (!ProgramPathText[0]) {
        snprintf(ProgramPathText, sizeof ProgramPathText, "Z:%s", OSTREL_PROGRAM);
        for (char* c = ProgramPathText; *c; ++c)
            if (*c == '/') *c = '\\';
    }
    return GetFileAttributesA(ProgramPathText) == INVALID_FILE_ATTRIBUTES ? "" : ProgramPathText;
}

HANDLE StartProgram(const char* arguments)
{
    if (StartedCount == MAX_STARTED || !ProgramPath()[0]) return nullptr;
    static bool named;
    if (!named) {
        // Which build is under test: the 32-bit one only runs where the machine runs 32-bit code.
        printf("driving %s\n", ProgramPath());
        named = true;
    }
    if (arguments)
        snprintf(CommandLine, sizeof CommandLine, "\"%s\" %s", ProgramPath(), arguments);
    else
        snprintf(CommandLine, sizeof CommandLine, "\"%s\"", ProgramPath());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(ProgramPath(), CommandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    Started[StartedCount++] = info.hProcess;
    return info.hProcess;
}

HWND WaitForMainWindow(HANDLE process)
{
    DWORD start = GetTickCount();
    DWORD processId = GetProcessId(process);
    for (;;) {
        HWND dialog = FindVisibleWindow(processId, nullptr, MAIN_CLASS, MAIN_TITLE);
        if (dialog) return Answers(dialog) ? dialog : nullptr;
        if (GetTickCount() - start > WAIT_LIMIT_MS || HasEnded(process, POLL_MS)) return nullptr;
        DispatchPending();
    }
}

HWND WaitForOtherWindow(HANDLE process, HWND skip)
{
    DWORD start = GetTickCount();
    DWORD processId = GetProcessId(process);
    for (;;) {
        HWND window = FindVisibleWindow(processId, skip, nullptr, nullptr);
        if (window) return window;
        if (GetTickCount() - start > WAIT_LIMIT_MS || HasEnded(process, POLL_MS)) return nullptr;
        DispatchPending();
    }
}

DWORD WaitForExit(HANDLE process, bool* sawWindow)
{
    DWORD start = GetTickCount();
    DWORD processId = GetProcessId(process);
    if (sawWindow) *sawWindow = false;
    for (;;) {
        if (sawWindow && FindVisibleWindow(processId, nullptr, nullptr, nullptr)) *sawWindow = true;
        if (HasEnded(process, POLL_MS)) break;
        DispatchPending();
        if (GetTickCount() - start > WAIT_LIMIT_MS) return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

void EndProgram(HANDLE process)
{
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return;
    TerminateProcess(process, 0xDEAD);
    WaitForSingleObject(process, WAIT_LIMIT_MS);
}

void EndLeftovers()
{
    for (int i = 0; i < StartedCount; ++i) {
        EndProgram(Started[i]);
        CloseHandle(Started[i]);
    }
    StartedCount = 0;
    // A main dialog that an earlier, aborted run left behind would take every hand-over.
    for (int tries = 0; tries < 8; ++tries) {
        HWND dialog = FindWindowA(MAIN_CLASS, MAIN_TITLE);
        if (!dialog) break;
        DWORD processId = 0;
        GetWindowThreadProcessId(dialog, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
        if (!process) break;
        EndProgram(process);
        CloseHandle(process);
    }
    DispatchPending();
}

const char* FieldText(HWND dialog, int control)
{
    DWORD_PTR length = 0;
    FieldBuffer[0] = '\0';
    if (!SendMessageTimeoutA(GetDlgItem(dialog, control), WM_GETTEXT, sizeof FieldBuffer,
                             reinterpret_cast<LPARAM>(FieldBuffer), SMTO_NORMAL, WAIT_LIMIT_MS,
                             &length))
        return "(no answer)";
    FieldBuffer[sizeof FieldBuffer - 1] = '\0';
    return FieldBuffer;
}

bool SetFieldText(HWND dialog, int control, const char* text)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(GetDlgItem(dialog, control), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(text), SMTO_NORMAL, WAIT_LIMIT_MS,
                               &result) != 0;
}

bool SendCommand(HWND dialog, WORD command)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(dialog, WM_COMMAND, command, 0, SMTO_NORMAL, WAIT_LIMIT_MS,
                               &result) != 0;
}

bool WaitForFieldText(HWND dialog, int control, const char* expected)
{
    DWORD start = GetTickCount();
    while (strcmp(FieldText(dialog, control), expected) != 0) {
        if (GetTickCount() - start > WAIT_LIMIT_MS) return false;
        Sleep(POLL_MS);
        DispatchPending();
    }
    return true;
}

bool PutClipboard(const char* text)
{
    if (!OpenClipboardWithin()) return false;
    EmptyClipboard();
    bool placed = true;
    if (text) {
        size_t size = strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        void* data = block ? GlobalLock(block) : nullptr;
        placed = data != nullptr;
        if (data) {
            memcpy(data, text, size);
            GlobalUnlock(block);
            placed = SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (block && !placed) GlobalFree(block);
    }
    CloseClipboard();
    return placed;
}

const char* ClipboardText()
{
    if (!OpenClipboardWithin()) return nullptr;
    const char* result = nullptr;
    HANDLE block = GetClipboardData(CF_TEXT);
    const char* data = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (data) {
        size_t size = GlobalSize(block);
        size_t n = size < sizeof ClipboardBuffer ? size : sizeof ClipboardBuffer - 1;
        memcpy(ClipboardBuffer, data, n);
        ClipboardBuffer[n] = '\0';
        GlobalUnlock(block);
        result = ClipboardBuffer;
    }
    CloseClipboard();
    return result;
}

// Real keystrokes come from xdotool, which types through the X server exactly as a keyboard
// does. Wine's CreateProcess runs a Unix executable named by its Z: path natively, with this
// process's environment (DISPLAY included), so the test drives it step by step from inside one
// program. Wine hands back no process handle for it: callers wait for the input's effect.
// Without a window manager the X server sends keys to the window under the pointer, hence the
// click first, which also gives the control the focus as a user's click would.
bool ClickAndSend(HWND dialog, int control, const char* actions)
{
    RECT box = {};
    if (!GetWindowRect(GetDlgItem(dialog, control), &box)) return false;
    snprintf(CommandLine, sizeof CommandLine, "xdotool mousemove %ld %ld click 1 %s",
             (box.left + box.right) / 2, (box.top + box.bottom) / 2, actions);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(XDOTOOL_PATH, CommandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

HWND CreateForeignWindow(const char* title)
{
    static ATOM foreignClass;
    if (!foreignClass) {
        WNDCLASSA type = {};
        type.lpfnWndProc = ForeignWindowProc;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = FOREIGN_CLASS;
        foreignClass = RegisterClassA(&type);
    }
    HWND window = CreateWindowExA(0, FOREIGN_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                  300, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    DispatchPending();
    return window;
}

int ForeignCopyDataCount()
{
    return CopyDataCount;
}
