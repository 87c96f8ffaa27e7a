// Run-time binding of HtmlHelpW (ordinal 15 of the HTML Help control): importing it would keep the
// program from starting on systems without the control. Unicode, as the program's own folder may
// bear a name that the system's code page cannot spell.
#include "help.h"

#include <cstring>
#include <cwchar>
#include <iterator>

#include "syslib.h"

typedef HWND(WINAPI* HtmlHelpProc)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);

namespace {

constexpr wchar_t HELP_FILE[] = L"ostrel.chm";
constexpr wchar_t HELP_TOPIC[] = L"::/html/usage.htm";
constexpr UINT HH_DISPLAY_TOPIC = 0;
constexpr UINT HH_CLOSE_ALL = 0x12;
constexpr WORD HTMLHELPW_ORDINAL = 15;
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

HWND BoundHtmlHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data)
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
        FARPROC entry = GetProcAddress(HelpLibrary, MAKEINTRESOURCEA(HTMLHELPW_ORDINAL));
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
constexpr size_t HELP_TARGET_SIZE = MAX_PATH + std::size(HELP_FILE) + std::size(HELP_TOPIC);
const wchar_t* HelpTarget(wchar_t (&target)[HELP_TARGET_SIZE])
{
    const DWORD length = GetModuleFileNameW(nullptr, target, MAX_PATH);
    wchar_t* name = length > 0 && length < MAX_PATH ? wcsrchr(target, L'\\') : nullptr;
    if (name) {
        memcpy(name + 1, HELP_FILE, sizeof HELP_FILE);
        if (GetFileAttributesW(target) == INVALID_FILE_ATTRIBUTES) name = nullptr;
    }
    if (!name) memcpy(target, HELP_FILE, sizeof HELP_FILE);
    wcscat(target, HELP_TOPIC);
    return target;
}

}  // namespace

HWND ShowHelp(HWND owner)
{
    wchar_t target[HELP_TARGET_SIZE];
    return BoundHtmlHelp(owner, HelpTarget(target), HH_DISPLAY_TOPIC, 0);
}

void CloseHelp()
{
    if (HtmlHelpEntry) HtmlHelpEntry(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
