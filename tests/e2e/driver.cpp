// Plays one group of the scenario table on the real ostrel.exe from outside, as a user and other
// programs would. Usage: ostrel_e2e GROUP. Every wait is bounded; a failing row says what it saw.
#include "scenarios.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "resource.h"

namespace {

const char TITLE[] = "Ostrel";
const char STATE_KEY[] = "Software\\Ostrel\\State";
const char KEYS_SENT[] = "Z:\\tmp\\ostrel-e2e.keys";
const DWORD LIMIT_MS = 10000;  // reaching it means the program hangs or never did what was awaited

std::string Program, Folder, Planted;  // the ostrel.exe under test, its folder, the planted copy's
std::vector<HANDLE> Started;
HANDLE Main, Last, Release, Mutex;
HWND Dialog, About, Foreign;
bool LastShowedWindow;
int ForeignCopyData, Arrived;
std::vector<HWND> Announced;  // the window of each live-region event since the row began
const char HELP_CONTROL_KEY[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

template <class Done>
bool WaitFor(Done done)
{
    for (DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT)) {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);  // first: events already sent count
        if (done()) return true;
        if (GetTickCount() - start > LIMIT_MS) return false;
    }
}

bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

std::string Expand(std::string text)
{
    std::smatch match;
    for (size_t at; (at = text.find("<folder>")) != std::string::npos;) text.replace(at, 8, Folder);
    while (std::regex_search(text, match, std::regex("<([0-9]+)\\*(.)>")))
        text.replace(static_cast<size_t>(match.position()), static_cast<size_t>(match.length()), std::stoul(match[1]), match.str(2)[0]);
    return text;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    for (size_t at = 0, next = 0; next != std::string::npos; at = next + separator.size())
        parts.push_back(text.substr(at, (next = text.find(separator, at)) - at));
    return parts;
}

// The visible top-level windows of a process besides its main dialog, topmost first.
std::vector<HWND> Windows(HANDLE process, const char* title = nullptr)
{
    std::vector<HWND> found;
    for (HWND window = GetTopWindow(nullptr); window && process; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD id = 0;
        char text[64] = "";
        GetWindowThreadProcessId(window, &id);
        GetWindowTextA(window, text, sizeof text);
        if (id == GetProcessId(process) && IsWindowVisible(window) && window != Dialog && (!title || !strcmp(text, title)))
            found.push_back(window);
    }
    return found;
}

// Live-region events of any process, as a screen reader hears them, taken as this thread reads messages.
void CALLBACK NoteAnnouncement(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF) Announced.push_back(window);
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool unicode = false)
{
    DWORD_PTR result;
    return (unicode ? SendMessageTimeoutW : SendMessageTimeoutA)(window, message, wParam, lParam, SMTO_NORMAL, LIMIT_MS, &result);
}

// The table is UTF-8; Unicode texts are compared in it.
std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()))) - 1);
    return wide;
}

std::string Utf8(const wchar_t* text, size_t length)
{
    std::string bytes(3 * length, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// A control's text as an ANSI program reads it, or as a Unicode one does (in UTF-8).
std::string Field(HWND dialog, int control, bool unicode = false)
{
    wchar_t text[4096] = L"";
    if (!Send(GetDlgItem(dialog, control), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), unicode)) return "(no answer)";
    return unicode ? Utf8(text, wcslen(text)) : reinterpret_cast<const char*>(text);
}

// Reads the clipboard's text (CF_UNICODETEXT in UTF-8), or with bytes given places them (nullptr: no text at all).
std::string Clipboard(bool place = false, const std::string* bytes = nullptr, UINT format = CF_TEXT)
{
    if (!WaitFor([] { return OpenClipboard(nullptr); })) return "(busy)";
    std::string text = "(none)";
    if (place && EmptyClipboard() && bytes) {  // as CF_TEXT, or the table's UTF-8 as CF_UNICODETEXT only
        const std::wstring wide = Wide(*bytes);
        const size_t size = format == CF_TEXT ? bytes->size() + 1 : (wide.size() + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(block), format == CF_TEXT ? static_cast<const void*>(bytes->c_str()) : wide.c_str(), size);
        GlobalUnlock(block);
        SetClipboardData(format, block);
    } else if (HANDLE block = place ? nullptr : GetClipboardData(format)) {
        const auto* data = static_cast<const char*>(GlobalLock(block));
        const auto* wide = reinterpret_cast<const wchar_t*>(data);
        text = format == CF_TEXT ? std::string(data, strnlen(data, GlobalSize(block))) : Utf8(wide, wcsnlen(wide, GlobalSize(block) / sizeof *wide));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

// Another program holding the clipboard open for a while, with a window of its own as tools do.
DWORD WINAPI HoldClipboard(void* milliseconds)
{
    OpenClipboard(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    WaitForSingleObject(Release, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(milliseconds)));
    CloseClipboard();
    return 0;  // the window goes with the thread
}

// A mutex is released by the thread that owns it: the driver's, from a timer while it waits.
VOID CALLBACK ReleaseMutexNow(HWND, UINT, UINT_PTR timer, DWORD) { KillTimer(nullptr, timer), ReleaseMutex(Mutex), CloseHandle(Mutex); }

HANDLE Spawn(const std::string& program, const std::string& command, const wchar_t* folder = nullptr)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring line = Wide(command);
    if (!CreateProcessW(Wide(program).c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info)) return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// xdotool types through the X server as a keyboard does, after a click on the target, or with the
// pointer just moved there (without a window manager, keys go to the window under it). Wine runs a
// Unix program given by its Z: path but hands back no handle: a file tells when it is done.
bool Xdotool(HWND target, const std::string& actions, bool click = true)
{
    RECT box;
    if (!GetWindowRect(target, &box) || (!DeleteFileA(KEYS_SENT) && GetLastError() != ERROR_FILE_NOT_FOUND)) return false;
    Spawn("Z:\\bin\\sh", "sh -c \"xdotool mousemove " + std::to_string((box.left + box.right) / 2) + " " +
          std::to_string((box.top + box.bottom) / 2) + (click ? " click 1" : "") + " \\\"$@\\\" && touch /tmp/ostrel-e2e.keys\" sh " + actions);
    return WaitFor([] { return GetFileAttributesA(KEYS_SENT) != INVALID_FILE_ATTRIBUTES; });
}

LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_COPYDATA ? ++ForeignCopyData : DefWindowProcA(window, message, wParam, lParam);
}

// A value under HKEY_CURRENT_USER, its key made where missing.
bool SetValue(const char* path, const std::string& name, DWORD type, const std::string& bytes)
{
    return !RegSetKeyValueA(HKEY_CURRENT_USER, path, name.c_str(), type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

// Wine shows the Unix root as Z:.
std::string WinePath(std::string path) { return std::replace(path.begin(), path.end(), '/', '\\'), "Z:" + path; }

// Ends every program started, and a main window left by an aborted run, as a task manager would.
void EndPrograms()
{
    DWORD id = 0;
    if (GetWindowThreadProcessId(FindWindowA("#32770", TITLE), &id) && id)
        Started.push_back(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    for (HANDLE process : Started) TerminateProcess(process, 0xDEAD), WaitForSingleObject(process, LIMIT_MS), CloseHandle(process);
    Started.clear();
    Main = Last = nullptr;
    Dialog = About = nullptr;
}

// A copy of the program and its help file in another folder, the one driven from now on.
bool MoveProgram(const std::string& folder)
{
    const bool copied = CopyFileW(Wide(Program).c_str(), Wide(folder + "\\ostrel.exe").c_str(), FALSE) &&
                        CopyFileW(Wide(Folder + "\\ostrel.chm").c_str(), Wide(folder + "\\ostrel.chm").c_str(), FALSE);
    Program = folder + "\\ostrel.exe";
    Folder = folder;
    return copied;
}

HANDLE Start(const std::string& arguments, const std::string& folder)
{
    LastShowedWindow = false;
    Last = Spawn(Program, "\"" + Program + "\"" + (arguments.empty() ? "" : " " + arguments), Wide(folder).c_str());
    if (Last) Started.push_back(Last);
    return Last;
}

// Main becomes this process; Dialog its main window once it shows a window (or nullptr).
bool AwaitMain(HANDLE process)
{
    Main = process;
    Dialog = nullptr;
    WaitFor([] { return !Windows(Main).empty() || Ended(Main); });
    const std::vector<HWND> shown = Windows(Main, TITLE);
    Dialog = shown.empty() ? nullptr : shown[0];
    return Main && (!Dialog || Send(Dialog, WM_NULL, 0, 0));
}

// Sends (or posts) a command by name, the system's close or minimise, or a command by number.
bool Command(HWND window, const std::string& name, bool post)
{
    static const std::map<std::string, std::pair<UINT, WPARAM>> named = {
        {"ok", {WM_COMMAND, IDOK}}, {"cancel", {WM_COMMAND, IDCANCEL}}, {"convert", {WM_COMMAND, IDM_CONVERT}},
        {"exit", {WM_COMMAND, IDM_EXIT}}, {"copy", {WM_COMMAND, IDM_COPY}}, {"paste", {WM_COMMAND, IDM_PASTE}},
        {"help", {WM_COMMAND, IDM_HELP}}, {"about", {WM_COMMAND, IDM_ABOUT}}, {"close", {WM_CLOSE, 0}},
        {"sysclose", {WM_SYSCOMMAND, SC_CLOSE}}, {"sysclose2", {WM_SYSCOMMAND, SC_CLOSE | 2}},
        {"minimize", {WM_SYSCOMMAND, SC_MINIMIZE}}};
    const auto [message, wParam] = named.count(name) ? named.at(name) : std::pair<UINT, WPARAM>(WM_COMMAND, std::stoul(name));
    return post ? PostMessageA(window, message, wParam, 0) : Send(window, message, wParam, 0);
}

// Does one action; false when it could not be done at all.
bool Act(const std::string& action)
{
    const size_t space = std::min(action.find(' '), action.size());
    const std::string verb = action.substr(0, space), arg = Expand(action.substr(std::min(space + 1, action.size())));
    const std::vector<std::string> words = Split(arg, " ");
    const long long number = std::atoll(arg.c_str());
    if (verb == "open" || verb.rfind("open@", 0) == 0) {  // a fresh start, from another folder after @
        EndPrograms();
        return AwaitMain(Start(arg, verb == "open" ? Folder : verb.substr(5)));
    }
    if (verb == "start")  // another start, awaited to its end or its first window
        return Start(arg, Folder) && WaitFor([] { return (LastShowedWindow = !Windows(Last).empty()) || Ended(Last); });
    if (verb == "restart")  // closes the main window and starts again as soon as it is gone
        return PostMessageA(Dialog, WM_CLOSE, 0, 0) && WaitFor([closing = Dialog] { return !IsWindow(closing); }) && AwaitMain(Start(arg, Folder));
    if (verb == "race") {  // N pairs of starts, the second 0 to MS later: the one that ends (1) hands its text to the other's window
        const std::string texts[] = {"1 ft", "2 kg"};
        for (int pair = Arrived = 0, pairs = std::stoi(words[0]); pair < pairs; ++pair) {
            HANDLE both[2] = {(EndPrograms(), Start(texts[0], Folder))};
            Sleep(static_cast<DWORD>(pair * std::stoi(words[1]) / std::max(pairs - 1, 1)));
            both[1] = Start(texts[1], Folder);
            const DWORD ended = WaitForMultipleObjects(2, both, FALSE, LIMIT_MS) - WAIT_OBJECT_0;
            DWORD code = 0;
            Arrived += ended < 2 && GetExitCodeProcess(both[ended], &code) && code == 1 && AwaitMain(both[1 - ended]) && Dialog &&
                       WaitFor([&] { return Field(Dialog, IDC_INPUT) == texts[ended]; });
        }
        return true;
    }
    if (verb == "hang")  // the main window's program stops answering
        return reinterpret_cast<LONG(WINAPI*)(HANDLE)>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtSuspendProcess")))(Main) == 0;
    if (verb == "set") return Send(GetDlgItem(Dialog, IDC_INPUT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg.c_str()));
    if (verb == "chars") {  // typed as an input method types: a WM_CHAR for each UTF-16 unit
        const std::wstring units = Wide(arg);
        return std::all_of(units.begin(), units.end(), [](wchar_t c) { return Send(GetDlgItem(Dialog, IDC_INPUT), WM_CHAR, c, 1, true); });
    }
    if (verb == "cmd" || verb == "post" || verb == "aboutcmd") return Command(verb == "aboutcmd" ? About : Dialog, arg, verb == "post");
    if (verb == "aboutkeys" || verb == "press") return Xdotool(verb == "press" ? Dialog : GetDlgItem(About, IDC_VERSION), arg, verb != "press");
    if (verb.rfind("keys", 0) == 0) return Xdotool(GetDlgItem(Dialog, verb.size() > 5 ? std::stoi(verb.substr(5)) : IDC_INPUT), arg);
    if (verb == "clip" || verb == "wclip")
        return Clipboard(true, space < action.size() ? &arg : nullptr, verb == "clip" ? CF_TEXT : CF_UNICODETEXT) != "(busy)";
    if (verb.rfind("copydata", 0) == 0) {  // copydata#SIZE TEXT; "(null)" for no block
        const DWORD size = verb.size() > 9 ? std::stoul(verb.substr(9)) : static_cast<DWORD>(arg.size() + 1);
        COPYDATASTRUCT data = {0x0BAD, size, arg == "(null)" ? nullptr : const_cast<char*>(arg.c_str())};
        return Send(Dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    if (verb == "flood") {  // random blocks of random sizes; the input stays within the 320 bytes a hand-over may bring
        std::mt19937 random(20261207);
        static char block[2000];
        for (long long i = 0; i < number; ++i) {
            COPYDATASTRUCT data = {random(), static_cast<DWORD>(random() % (sizeof block + 1)), block};
            for (DWORD b = 0; b < data.cbData; ++b) block[b] = static_cast<char>(random());
            if (!Send(Dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) || Field(Dialog, IDC_INPUT).size() > 320) return false;
        }
        return true;
    }
    if (verb == "hold") {
        Release = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, HoldClipboard, reinterpret_cast<void*>(number), 0, nullptr));
        return WaitFor([] { return GetOpenClipboardWindow() != nullptr; });
    }
    if (verb == "release") return SetEvent(Release) && WaitFor([] { return OpenClipboard(nullptr) && CloseClipboard(); });
    if (verb == "reg") {  // NAME dword|sz|bin VALUE, bin giving a count of zero bytes
        const long long value = std::atoll(words[2].c_str());
        if (words[1] == "sz") return SetValue(STATE_KEY, words[0], REG_SZ, words[2] + '\0');
        if (words[1] == "bin") return SetValue(STATE_KEY, words[0], REG_BINARY, std::string(static_cast<size_t>(value), '\0'));
        return SetValue(STATE_KEY, words[0], REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
    }
    if (verb == "regdel") return RegDeleteKeyValueA(HKEY_CURRENT_USER, STATE_KEY, arg.c_str()) == ERROR_SUCCESS;
    if (verb == "move")
        return SetWindowPos(Dialog, nullptr, std::stoi(words[0]), std::stoi(words[1]), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (verb == "foreign") {  // a window of another program, titled like the main window
        static const WNDCLASSA type = {0, ForeignProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "E2EForeign"};
        return RegisterClassA(&type) && (Foreign = CreateWindowExA(0, type.lpszClassName, TITLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                                   400, 300, 200, 100, nullptr, nullptr, nullptr, nullptr));
    }
    if (verb == "foreground") return SetForegroundWindow(Foreign) && GetForegroundWindow() == Foreign;
    if (verb == "mutex")  // owned as by an instance still starting; released MS later if given, as by one closing
        return EndPrograms(), (Mutex = CreateMutexA(nullptr, TRUE, TITLE)) && GetLastError() != ERROR_ALREADY_EXISTS &&
                              (!number || SetTimer(nullptr, 0, static_cast<UINT>(number), ReleaseMutexNow));
    if (verb == "about") {
        const size_t before = Windows(Main, "About Ostrel").size();
        return Command(Dialog, "about", true) &&
               WaitFor([&] { return Windows(Main, "About Ostrel").size() > before; }) && (About = Windows(Main, "About Ostrel")[0]);
    }
    const char* overrides = "Software\\Wine\\AppDefaults\\ostrel.exe\\DllOverrides";
    if (verb == "override")  // DLL: Wine loads it no more for the program; "DLL -": again
        return words.size() > 1 ? !RegDeleteKeyValueA(HKEY_CURRENT_USER, overrides, words[0].c_str()) : SetValue(overrides, arg, REG_SZ, std::string(1, '\0'));
    if (verb == "signal") {  // raised inside the program on a thread of its own, as a console event would
        auto raise = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), "raise")));
        if (number == 11) raise = reinterpret_cast<LPTHREAD_START_ROUTINE>(16);  // a real access violation
        return CreateRemoteThread(Main, nullptr, 0, raise, reinterpret_cast<void*>(number), 0, nullptr);
    }
    if (verb == "remove") return DeleteFileW(Wide(Folder + "\\" + arg).c_str());
    if (verb == "register")  // the help control's path as HKEY_CLASSES_ROOT shows it; restored at the end
        return !RegSetKeyValueA(HKEY_CLASSES_ROOT, HELP_CONTROL_KEY, nullptr, REG_SZ, arg.c_str(), static_cast<DWORD>(arg.size() + 1));
    if (verb == "home")  // in a folder of that name
        return (CreateDirectoryW(Wide(Folder + "\\" + arg).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) &&
               MoveProgram(Folder + "\\" + arg);
    if (verb == "plant") {  // beside libraries named like ones it uses, or ones those need in turn,
        // which leave "NAME.loaded" beside themselves when loaded: the driver checks that first. The
        // group's environment tells Wine to prefer them to its own.
        HMODULE probe = LoadLibraryA((Planted + "\\winmm.dll").c_str());
        bool ready = probe && FreeLibrary(probe) && DeleteFileA((Planted + "\\winmm.dll.loaded").c_str()) && MoveProgram(Planted);
        for (const char* name : {"\\hhctrl.ocx", "\\oleacc.dll", "\\shlwapi.dll", "\\oleaut32.dll", "\\rpcrt4.dll"})  // no old mark
            ready = ready && CopyFileA((Planted + "\\winmm.dll").c_str(), (Planted + name).c_str(), FALSE) &&
                    (DeleteFileA((Planted + name + ".loaded").c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
        return ready;
    }
    return false;
}

// What an expectation sees now, in its own words ("" for yes where it takes no value).
std::string See(const std::string& what, const std::string& value)
{
    RECT rect = {};
    DWORD code = STILL_ACTIVE, x = 0, y = 0, size = sizeof x;
    if (what == "input" || what == "result" || what == "wresult") return Field(Dialog, what == "input" ? IDC_INPUT : IDC_RESULT, what == "wresult");
    if (what == "clip" || what == "wclip") return Clipboard(false, nullptr, what == "clip" ? CF_TEXT : CF_UNICODETEXT);
    if (what == "exit") return WaitFor([] { return Ended(Last); }), GetExitCodeProcess(Last, &code), std::to_string(static_cast<int>(code));
    if (what == "running") return Ended(Main) || !Send(Dialog, WM_NULL, 0, 0) ? "ended or not answering" : "";
    if (what == "nowindow") return LastShowedWindow ? "a window showed" : "";
    if (what == "windows") return std::to_string(Windows(Main).size());
    if (what == "box" || what == "ubox") {  // a message box owned by the main window, or by none, of the main or last start
        for (HANDLE process : {Main, Last})
            for (HWND box : Windows(process))
                if (Field(box, 0xFFFF, true) == value && GetWindow(box, GW_OWNER) == (what == "box" ? Dialog : nullptr))
                    return PostMessageA(box, WM_COMMAND, IDOK, 0), value;
        return "no such box";
    }
    if (what == "at" || what == "about")  // "X *": any y
        return GetWindowRect(what == "at" ? Dialog : About, &rect),
               std::to_string(rect.left) + " " + (value.back() == '*' ? "*" : std::to_string(rect.top));
    if (what == "titlebar") {  // reachable (its full height and 64 pixels of it in the work area), and the edges it touches
        TITLEBARINFO bar = {sizeof bar, {}, {}};
        MONITORINFO screen = {sizeof screen, {}, {}, 0};
        const RECT &t = bar.rcTitleBar, &w = screen.rcWork;
        if (!GetTitleBarInfo(Dialog, &bar) || !GetMonitorInfoA(MonitorFromWindow(Dialog, MONITOR_DEFAULTTONEAREST), &screen) ||
            std::min(t.right, w.right) - std::max(t.left, w.left) < 64 || t.top < w.top || t.bottom > w.bottom)
            return "out of reach";
        const std::string edges = std::string(t.right - w.left == 64 ? " left" : "") + (w.right - t.left == 64 ? " right" : "") +
                                  (t.top == w.top ? " top" : "") + (t.bottom == w.bottom ? " bottom" : "");
        return edges.substr(edges.empty() ? 0 : 1);
    }
    if (what == "arrived") return std::to_string(Arrived);
    if (what == "version") return Field(About, IDC_VERSION);
    if (what == "compiled")  // the build's date in the compiler's form ("Jul  1 2003"): this driver's, both the commit's
        return Field(About, IDC_COMPILED) == "Compiled: " __DATE__ ? "" : Field(About, IDC_COMPILED);
    if (what == "saved")
        return !RegGetValueA(HKEY_CURRENT_USER, STATE_KEY, "wxpos", RRF_RT_REG_DWORD, nullptr, &x, &size) &&
               !RegGetValueA(HKEY_CURRENT_USER, STATE_KEY, "wypos", RRF_RT_REG_DWORD, nullptr, &y, &size)
            ? std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)) : "none";
    if (what == "front") return GetForegroundWindow() == Dialog ? "main" : GetForegroundWindow() == Foreign ? "foreign" : "other";
    if (what == "announced") return std::to_string(std::count(Announced.begin(), Announced.end(), GetDlgItem(Dialog, IDC_RESULT)));
    if (what == "foreign") return std::to_string(ForeignCopyData);
    if (what == "iconic") return IsIconic(Dialog) ? "1" : "0";
    if (what == "viewer") {  // the help viewer, owned by the main window
        const std::vector<HWND> viewer = Windows(Main, "Ostrel Help");
        return viewer.empty() ? "no viewer" : GetWindow(viewer[0], GW_OWNER) == Dialog ? "" : "not owned";
    }
    if (what == "marks") {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((Planted + "\\*.loaded").c_str(), &found);
        return search == INVALID_HANDLE_VALUE ? "0" : (FindClose(search), found.cFileName);
    }
    return "unknown expectation";
}

}  // namespace

int main(int argc, char** argv)
{
    Program = WinePath(OSTREL_PROGRAM);
    Planted = WinePath(OSTREL_PLANTED);
    Folder = Program.substr(0, Program.rfind('\\'));
    std::printf("driving %s\n", Program.c_str());
    const std::string group = argc > 1 ? argv[1] : "";
    int rows = 0, failures = 0;
    // From nothing of ours running, no saved state, and no DLL overrides but one: no sound drivers.
    // The about box plays a sound, and without a sound server Wine's drivers can take longer to
    // give up than a row waits.
    EndPrograms();
    SetWinEventHook(0x8019, 0x8019, nullptr, NoteAnnouncement, 0, 0, WINEVENT_OUTOFCONTEXT);  // EVENT_OBJECT_LIVEREGIONCHANGED
    RegDeleteTreeA(HKEY_CURRENT_USER, STATE_KEY);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\ostrel.exe");
    for (const char* driver : {"winealsa.drv", "winepulse.drv", "wineoss.drv"}) Act(std::string("override ") + driver);
    char control[MAX_PATH] = "";  // the help control's registration, as it was
    DWORD size = sizeof control;
    RegGetValueA(HKEY_CLASSES_ROOT, HELP_CONTROL_KEY, nullptr, RRF_RT_REG_SZ, nullptr, control, &size);
    bool inGroup = false;
    for (const Scenario& row : Scenarios) {
        if (!(inGroup = *row.group ? group == row.group : inGroup)) continue;
        std::string trouble;
        Announced.clear();
        for (const std::string& action : Split(row.actions, "; "))
            if (!Act(action)) trouble += "  could not " + action.substr(0, 60) + "\n";
        for (const std::string& expectation : Split(row.expected, "|")) {
            const size_t space = std::min(expectation.find(' '), expectation.size());
            const std::string what = expectation.substr(0, space), value = Expand(expectation.substr(std::min(space + 1, expectation.size())));
            std::string seen;
            if (!WaitFor([&] { return (seen = See(what, value)) == value; }))
                trouble += "  " + what + ": expected \"" + value.substr(0, 80) + "\", saw \"" + seen.substr(0, 80) + "\"\n";
        }
        if (!trouble.empty()) std::printf("FAIL %.100s\n%s", row.actions, trouble.c_str());
        failures += !trouble.empty();
        ++rows;
    }
    EndPrograms();
    if (*control) Act(std::string("register ") + control);
    std::printf("%s: %d rows, %d failed\n", group.c_str(), rows, failures);
    return rows == 0 || failures ? 1 : 0;
}
