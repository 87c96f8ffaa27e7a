// Run-time binding of HtmlHelpA (ordinal 14 of the HTML Help control): importing it would keep the
// program from starting on systems without the control.
#include "help.h"

#include <cstring>

typedef HWND(WINAPI* HtmlHelpProc)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

namespace {

constexpr char HELP_TARGET[] = "ostrel.chm::/html/usage.htm";
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

const char* SystemHelpControl(char* path)
{
    constexpr char NAME[] = "\\hhctrl.ocx";
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof NAME > MAX_PATH) return nullptr;
    memcpy(path + length, NAME, sizeof NAME);
    return path;
}

namespace {

HMODULE LoadHelpControl()
{
    char path[MAX_PATH];
    HMODULE library = nullptr;
    if (RegisteredHelpControl(HKEY_CLASSES_ROOT, path)) library = LoadLibraryA(path);
    // Never by bare name: the search would take an hhctrl.ocx planted beside the program.
    if (!library && SystemHelpControl(path)) library = LoadLibraryA(path);
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

}  // namespace

HWND ShowHelp(HWND owner)
{
    return BoundHtmlHelp(owner, HELP_TARGET, HH_DISPLAY_TOPIC, 0);
}

void CloseHelp()
{
    if (HtmlHelpEntry) HtmlHelpEntry(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
