// The end-to-end driver: starts ostrel.exe and observes and drives it only through the platform.
#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const char MAIN_CLASS[] = "#32770";
const char MAIN_TITLE[] = "Ostrel";
const char STATE_KEY[] = "Software\\Ostrel\\State";
int ForeignCopyData;

namespace {

constexpr int MAX_STARTED = 64;
const char XDOTOOL_PATH[] = "Z:\\usr\\bin\\xdotool";  // the Unix program, see ClickAndSend
const char FOREIGN_CLASS[] = "OstrelE2EForeign";

HANDLE Started[MAX_STARTED];
int StartedCount;
char TextBuffer[4096];
char CommandLine[32768];  // the longest command line Windows accepts

struct WindowSearch {
    DWORD processId;
    HWND skip;
    const char* className;  // nullptr: any class
    const char* title;      // nullptr: any title
    int count;
    HWND last;
};

bool Matches(HWND window, int(WINAPI* get)(HWND, LPSTR, int), const char* wanted)
{
    char text[256] = "";
    return !wanted || (get(window, text, sizeof text), strcmp(text, wanted) == 0);
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (window != search->skip && IsWindowVisible(window) && processId == search->processId &&
        Matches(window, GetClassNameA, search->className) &&
        Matches(window, GetWindowTextA, search->title)) {
        search->count++;
        search->last = window;
    }
    return TRUE;
}

WindowSearch Search(HANDLE process, HWND skip, const char* className, const char* title)
{
    WindowSearch search = {GetProcessId(process), skip, className, title, 0, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}

bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, WAIT_LIMIT_MS,
                               &result) != 0;
}

void EndProgram(HANDLE process)
{
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return;
    TerminateProcess(process, 0xDEAD);
    WaitForSingleObject(process, WAIT_LIMIT_MS);
}

// Runs CommandLine from folder (nullptr: this one); the process handle, or nullptr.
HANDLE Spawn(const char* program, const char* folder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program, CommandLine, nullptr, nullptr, FALSE, 0, nullptr, folder,
                        &startup, &info))
        return nullptr;
    if (info.hThread) CloseHandle(info.hThread);
    return info.hProcess ? info.hProcess : INVALID_HANDLE_VALUE;
}

LRESULT CALLBACK ForeignWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    ++ForeignCopyData;
    return TRUE;
}

}  // namespace

void DispatchPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

const char* ProgramPath()
{
    // OSTREL_PROGRAM is the Unix path of this build folder's ostrel.exe; Wine shows / as Z:.
    static char path[MAX_PATH];
    if (!path[0]) {
        snprintf(path, sizeof path, "Z:%s", OSTREL_PROGRAM);
        for (char* c = path; *c; ++c)
            if (*c == '/') *c = '\\';
    }
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? "" : path;
}

HANDLE StartProgram(const char* arguments)
{
    if (StartedCount == MAX_STARTED || !ProgramPath()[0]) return nullptr;
    static bool named;
    // Which build is under test: the 32-bit one only runs where the machine runs 32-bit code.
    if (!named) named = printf("driving %s\n", ProgramPath()) > 0;
    snprintf(CommandLine, sizeof CommandLine, arguments ? "\"%s\" %s" : "\"%s\"", ProgramPath(),
             arguments);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%s", ProgramPath());
    *strrchr(folder, '\\') = '\0';
    HANDLE process = Spawn(ProgramPath(), folder);
    return process ? Started[StartedCount++] = process : nullptr;
}

Instance OpenProgram(const char* arguments)
{
    Instance run = {StartProgram(arguments), nullptr};
    HWND shown = nullptr;
    WaitFor([&] {
        shown = Search(run.process, nullptr, MAIN_CLASS, MAIN_TITLE).last;
        return shown || WaitForSingleObject(run.process, 0) != WAIT_TIMEOUT;
    });
    // Shown is not enough: the modal loop must answer before the test drives it.
    if (shown && SendWithin(shown, WM_NULL, 0, 0)) run.dialog = shown;
    return run;
}

int CountWindows(HANDLE process, HWND skip, const char* title)
{
    return Search(process, skip, nullptr, title).count;
}

HWND WaitForWindow(HANDLE process, HWND skip, const char* title, int count)
{
    WindowSearch found = {};
    WaitFor([&] {
        found = Search(process, skip, nullptr, title);
        return found.count >= count || WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
    });
    return found.count >= count ? found.last : nullptr;
}

POINT Corner(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

DWORD WaitForExit(HANDLE process, bool* sawWindow)
{
    if (sawWindow) *sawWindow = false;
    WaitFor([&] {
        if (sawWindow && CountWindows(process, nullptr)) *sawWindow = true;
        return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    });
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

void EndLeftovers()
{
    for (int i = 0; i < StartedCount; ++i) {
        EndProgram(Started[i]);
        CloseHandle(Started[i]);
    }
    StartedCount = 0;
    // A main dialog left by an aborted run would take every hand-over.
    for (int tries = 0; tries < 8; ++tries) {
        DWORD processId = 0;
        GetWindowThreadProcessId(FindWindowA(MAIN_CLASS, MAIN_TITLE), &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
        if (!processId || !process) break;
        EndProgram(process);
        CloseHandle(process);
    }
    DispatchPending();
}

const char* FieldText(HWND dialog, int control)
{
    TextBuffer[0] = '\0';
    if (!SendWithin(GetDlgItem(dialog, control), WM_GETTEXT, sizeof TextBuffer,
                    reinterpret_cast<LPARAM>(TextBuffer)))
        return "(no answer)";
    TextBuffer[sizeof TextBuffer - 1] = '\0';
    return TextBuffer;
}

bool SetFieldText(HWND dialog, int control, const char* text)
{
    return SendWithin(GetDlgItem(dialog, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool SendCommand(HWND dialog, WORD command)
{
    return SendWithin(dialog, WM_COMMAND, command, 0);
}

bool WaitForFieldText(HWND dialog, int control, const char* expected)
{
    return WaitFor([&] { return strcmp(FieldText(dialog, control), expected) == 0; });
}

bool PutClipboardBytes(const void* data, size_t size)
{
    // The clipboard may be held for a moment by the program under test.
    if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; })) return false;
    EmptyClipboard();
    HGLOBAL block = data ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    void* copy = block ? GlobalLock(block) : nullptr;
    if (copy) {
        memcpy(copy, data, size);
        GlobalUnlock(block);
    }
    bool placed = !data || (copy && SetClipboardData(CF_TEXT, block));
    if (block && !placed) GlobalFree(block);
    CloseClipboard();
    return placed;
}

bool PutClipboard(const char* text)
{
    return PutClipboardBytes(text, text ? strlen(text) + 1 : 0);
}

const char* ClipboardText()
{
    if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; })) return nullptr;
    HANDLE block = GetClipboardData(CF_TEXT);
    const char* data = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (data) {
        size_t n = std::min<size_t>(GlobalSize(block), sizeof TextBuffer - 1);
        memcpy(TextBuffer, data, n);
        TextBuffer[n] = '\0';
        GlobalUnlock(block);
    }
    CloseClipboard();
    return data ? TextBuffer : nullptr;
}

bool SetRegValue(HKEY root, const char* path, const char* name, DWORD type, const void* data,
                 DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return false;
    LONG code = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return code == ERROR_SUCCESS;
}

bool StoreCoordinate(const char* name, LONG value)
{
    return SetRegValue(HKEY_CURRENT_USER, STATE_KEY, name, REG_DWORD, &value, sizeof value);
}

const char* SavedCoordinate(const char* name)
{
    LONG value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, STATE_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size))
        return "(no 4-byte REG_DWORD)";
    snprintf(TextBuffer, sizeof TextBuffer, "%ld", value);
    return TextBuffer;
}

// Real keystrokes come from xdotool, which types through the X server exactly as a keyboard
// does. Wine's CreateProcess runs a Unix executable named by its Z: path natively, with this
// process's environment (DISPLAY included), and hands back no process handle for it. Without a
// window manager the X server sends keys to the window under the pointer, hence the click first,
// which also gives the control the focus as a user's click would.
bool ClickAndSend(HWND dialog, int control, const char* actions)
{
    RECT box = {};
    if (!GetWindowRect(GetDlgItem(dialog, control), &box)) return false;
    snprintf(CommandLine, sizeof CommandLine, "xdotool mousemove %ld %ld click 1 %s",
             (box.left + box.right) / 2, (box.top + box.bottom) / 2, actions);
    HANDLE process = Spawn(XDOTOOL_PATH, nullptr);
    if (process && process != INVALID_HANDLE_VALUE) CloseHandle(process);
    return process != nullptr;
}

HWND CreateForeignWindow(const char* title)
{
    static const WNDCLASSA type = {0, ForeignWindowProc, 0, 0, GetModuleHandleA(nullptr), nullptr,
                                   nullptr, nullptr, nullptr, FOREIGN_CLASS};
    static const ATOM registered = RegisterClassA(&type);
    (void)registered;
    HWND window = CreateWindowExA(0, FOREIGN_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                  300, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    DispatchPending();
    return window;
}
