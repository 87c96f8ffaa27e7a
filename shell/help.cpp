// Run-time binding of HtmlHelpW (ordinal 15 of the HTML Help control): importing it would keep the
// program from starting on systems without the control. Unicode, as the program's own folder may
// bear a name that the system's code page cannot spell.
#include "help.h"

#include <cstring>
#include <cwchar>
#include <iterator>

#include "message.h"
#include "syslib.h"

typedef HWND(WINAPI* HtmlHelpProc)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);

namespace {

constexpr wchar_t HELP_FILE[] = L"ostrel.chm";
constexpr wchar_t HELP_TOPIC[] = L"::/html/usage.htm";
constexpr UINT HH_DISPLAY_TOPIC = 0;
constexpr UINT HH_CLOSE_ALL = 0x12;
constexpr WORD HTMLHELPW_ORDINAL = 15;
constexpr wchar_t CONTROL_SERVER_KEY[] =
    L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The binding: loaded once per process. HelpFailed marks a failed load, which is never tried
// again; a failed lookup of the entry is tried again at the next call.
HMODULE HelpLibrary;
HtmlHelpProc HtmlHelpEntry;
bool HelpFailed;

// A drive's root (X:\) or a share (\\server): anything else the loader would look for in the
// program's folder first, where anything may lie.
bool IsAbsolutePath(const wchar_t* path)
{
    const bool letter = (path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z';
    return (letter && path[1] == L':' && path[2] == L'\\') || (path[0] == L'\\' && path[1] == L'\\');
}

}  // namespace

const wchar_t* RegisteredHelpControl(HKEY classes, wchar_t* path)
{
    HKEY key;
    if (RegOpenKeyExW(classes, CONTROL_SERVER_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    wchar_t text[MAX_PATH];
    DWORD size = sizeof text;
    DWORD type = REG_NONE;
    LONG code = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    const DWORD length = size / sizeof *text;
    if (code != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || length == 0) return nullptr;
    if (!wmemchr(text, L'\0', length)) {
        // A text that fills the whole buffer has no room for its terminator: it may be cut short.
        if (length == MAX_PATH) return nullptr;
        text[length] = L'\0';
    }
    if (type == REG_SZ) wmemcpy(path, text, wcslen(text) + 1);
    else if (DWORD expanded = ExpandEnvironmentStringsW(text, path, MAX_PATH); expanded == 0 || expanded > MAX_PATH) return nullptr;
    return IsAbsolutePath(path) ? path : nullptr;
}

namespace {

HMODULE LoadHelpControl()
{
    wchar_t path[MAX_PATH];
    HMODULE library = nullptr;
    if (RegisteredHelpControl(HKEY_CLASSES_ROOT, path)) library = LoadByFullPath(path);
    if (!library) library = LoadSystemLibrary(L"hhctrl.ocx");
    return library;
}

HWND BoundHtmlHelp(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data)
{
    if (!HelpLibrary) {
        if (HelpFailed) return nullptr;
        HelpLibrary = LoadHelpControl();
        HelpFailed = !HelpLibrary;
        if (HelpFailed) return nullptr;
    }
    if (!HtmlHelpEntry) {
        FARPROC entry = GetProcAddress(HelpLibrary, MAKEINTRESOURCEA(HTMLHELPW_ORDINAL));
        if (!entry) return nullptr;
        HtmlHelpEntry = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(entry));
    }
    return HtmlHelpEntry(owner, file, command, data);
}

// The viewer resolves a bare file name against the current folder, which need not be the
// program's (a start from the Run box or a command prompt elsewhere): the file beside the program
// is named by its full path. When it is missing there, a message names the file and the folder
// (in Unicode, as a folder's name may not exist in the code page) and nullptr is returned. Only
// when the program's own path is not known is the bare name left to the viewer.
constexpr wchar_t MISSING_TEXT[] = L"The help file ostrel.chm is missing from\n";
constexpr size_t HELP_TARGET_SIZE = std::size(MISSING_TEXT) + MAX_PATH + std::size(HELP_FILE) + std::size(HELP_TOPIC);
const wchar_t* HelpTarget(HWND owner, wchar_t (&target)[HELP_TARGET_SIZE])
{
    const DWORD length = GetModuleFileNameW(nullptr, target, MAX_PATH);
    wchar_t* name = length > 0 && length < MAX_PATH ? wcsrchr(target, L'\\') : nullptr;
    if (!name) {
        memcpy(target, HELP_FILE, sizeof HELP_FILE);
    } else {
        memcpy(name + 1, HELP_FILE, sizeof HELP_FILE);
        if (GetFileAttributesW(target) == INVALID_FILE_ATTRIBUTES) {
            if (name - target == 2) ++name;  // a drive's root keeps its backslash
            *name = L'\0';
            memmove(target + std::size(MISSING_TEXT) - 1, target, (wcslen(target) + 1) * sizeof *target);
            memcpy(target, MISSING_TEXT, sizeof MISSING_TEXT - sizeof *target);
            MessageBoxW(owner, target, nullptr, WARNING_STYLE);
            return nullptr;
        }
    }
    wcscat(target, HELP_TOPIC);
    return target;
}

}  // namespace

HWND ShowHelp(HWND owner)
{
    wchar_t target[HELP_TARGET_SIZE];
    const wchar_t* file = HelpTarget(owner, target);
    return file ? BoundHtmlHelp(owner, file, HH_DISPLAY_TOPIC, 0) : nullptr;
}

void CloseHelp()
{
    if (HtmlHelpEntry) HtmlHelpEntry(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
