// Run-time binding of HtmlHelpA (ordinal 14 of the HTML Help control): importing it would keep the
// program from starting on systems without the control.
#include "help.h"

#include <cstring>

#include "syslib.h"

typedef HWND(WINAPI* HtmlHelpProc)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

namespace {

constexpr char HELP_FILE[] = "ostrel.chm";
constexpr char HELP_TOPIC[] = "::/html/usage.htm";
constexpr UINT HH_DISPLAY_TOPIC = 0;
constexpr UINT HH_CLOSE_ALL = 0x12;
constexpr WORD HTMLHELP_ORDINAL = 14;
constexpr char CONTROL_SERVER_KEY[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The binding: loaded once per process; a failed load is final, a failed lookup is retried.
HMODULE HelpLibrary;
HtmlHelpProc HtmlHelpEntry;
bool HelpFailed;

}  // namespace

const char* RegisteredHelpControl(HKEY classes, char* path)
{
    HKEY key;
    if (RegOpenKeyExA(classes, CONTROL_SERVER_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    DWORD size = MAX_PATH;
    LONG code = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path),
                                 &size);
    RegCloseKey(key);
    if (code != ERROR_SUCCESS) return nullptr;
    if (size == 0) return nullptr;
    if (memchr(path, '\0', size)) return path[0] ? path : nullptr;
    // A text that fills the whole buffer has no room for its terminator: it may be cut short.
    if (size == MAX_PATH) return nullptr;
    path[size] = '\0';
    return path;
}

namespace {

HMODULE LoadHelpControl()
{
    char path[MAX_PATH];
    HMODULE library = nullptr;
    if (RegisteredHelpControl(HKEY_CLASSES_ROOT, path)) library = LoadLibraryA(path);
    if (!library) library = LoadSystemLibrary("hhctrl.ocx");
    return library;
}

HWND BoundHtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data)
{
    if (!HelpLibrary && !HelpFailed) {
        HelpLibrary = LoadHelpControl();
        if (!HelpLibrary) {
            HelpFailed = true;
            return nullptr;
        }
    }
    if (!HelpLibrary) return nullptr;
    if (!HtmlHelpEntry) {
        FARPROC entry = GetProcAddress(HelpLibrary, MAKEINTRESOURCEA(HTMLHELP_ORDINAL));
        if (!entry) {
            HelpFailed = true;
            return nullptr;
        }
        HtmlHelpEntry = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(entry));
    }
    return HtmlHelpEntry(owner, file, command, data);
}

// The viewer resolves a bare file name against the current folder, which need not be the
// program's (a start from the Run box or a command prompt elsewhere).
const char* HelpTarget(char (&target)[MAX_PATH + sizeof HELP_FILE + sizeof HELP_TOPIC])
{
    const DWORD length = GetModuleFileNameA(nullptr, target, MAX_PATH);
    char* name = length > 0 && length < MAX_PATH ? strrchr(target, '\\') : nullptr;
    if (name) {
        memcpy(name + 1, HELP_FILE, sizeof HELP_FILE);
        if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) name = nullptr;
    }
    if (!name) memcpy(target, HELP_FILE, sizeof HELP_FILE);
    return strcat(target, HELP_TOPIC);
}

}  // namespace

HWND ShowHelp(HWND owner)
{
    char target[MAX_PATH + sizeof HELP_FILE + sizeof HELP_TOPIC];
    return BoundHtmlHelp(owner, HelpTarget(target), HH_DISPLAY_TOPIC, 0);
}

void CloseHelp()
{
    if (HtmlHelpEntry) HtmlHelpEntry(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
