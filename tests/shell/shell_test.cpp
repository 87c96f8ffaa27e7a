// What no other process can drive the real program into, tested in-process under Wine: text rules,
// failures, registry values of any shape, messages Wine does not carry, oleacc's names (in-process only).
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app.h"
#include "clipboard.h"
#include "handover.h"
#include "help.h"
#include "maindlg.h"
#include "message.h"
#include "registry.h"
#include "resource.h"
#include "textrules.h"

namespace {

using std::string;

// This program's import slot for dll!name, made writable: failures are injected through it.
ULONG_PTR* ImportSlot(const char* dll, const char* name)
{
    const auto real = reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleA(dll), name));
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* dlls = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + nt->OptionalHeader.DataDirectory[1].VirtualAddress);
    for (; dlls->Name; ++dlls)
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dlls->FirstThunk); slot->u1.Function; ++slot) {
            DWORD protection;
            if (slot->u1.Function == real && VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection))
                return reinterpret_cast<ULONG_PTR*>(&slot->u1.Function);
        }
    return nullptr;
}

template <class F>
ULONG_PTR Address(F* function) { return reinterpret_cast<ULONG_PTR>(function); }

// Message boxes are answered at once; the last one is noted here.
string BoxText;
HWND BoxOwner;
int WINAPI NoteBox(HWND owner, LPCSTR text, LPCSTR, UINT) { return BoxOwner = owner, BoxText = text, IDOK; }

// Before any test: message boxes noted, and reports going to a window of the test's own.
[[maybe_unused]] const bool Prepared = (*ImportSlot("user32.dll", "MessageBoxA") = Address(NoteBox),
    MainWindow = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));

TEST(Shell, MessagesFoldAtFortyColumnsAndPasteTakesTheFirstLineWithinTheBlock)
{
    const string x40(40, 'x'), words = "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd";
    const std::pair<string, string> folds[] = {  // text, and as shown when it differs
        {"The quick brown fox jumps over the abcdefghijklmnopqrstuvwxy", "The quick brown fox jumps over the\nabcdefghijklmnopqrstuvwxy"},
        {string(30, 'a') + "\nbb bb bb bb bb bb bb bb bb bb bb bb", ""}, {x40 + " tail", x40 + "\ntail"},
        {words, "abcd abcd abcd abcd abcd abcd abcd abcd\nabcd abcd abcd abcd abcd abcd abcd abcd"},
        {"abc " + x40 + "zz tail " + words, "abc\n" + x40 + "zz tail " + words},  // an unbreakable line ends it
        {string(38, 'a') + "\tbbb", string(38, 'a') + "\nbbb"},  // a tab and a carriage return: one column each
        {string(20, 'a') + "\r" + string(19, 'b') + " c", string(20, 'a') + "\r" + string(19, 'b') + "\nc"},
        {string(20, 'a') + " " + string(19, 'b'), ""}, {"", ""},
    };
    for (const auto& [text, shown] : folds) {
        string folded = text;
        FoldMessageText(&folded[0]);
        EXPECT_EQ(folded, shown.empty() ? text : shown);
    }
    // What the clipboard of another process cannot show: blocks without their terminator, and more.
    const struct { std::wstring block; size_t size, line; } lines[] = {
        {L"5 ftXX\n", 4, 4}, {L"ab\r\n", 3, 3}, {std::wstring(L"ab\0cd\n", 6), 6, 2}, {L"a\r\r\n", 4, 2}, {L"", 0, 0}, {L"5\u2032\r\nx", 5, 2}};
    for (const auto& row : lines) EXPECT_EQ(FirstLineLength(row.block.data(), row.size), row.line) << row.block;
    // The text a start is given: after the program's name, trimmed, 80 characters (said when cut), mapped.
    const std::pair<std::u16string, string> starts[] = {
        {u"\"C:\\a b\\ostrel.exe\"  5 ft \t", "5 ft"}, {u"ostrel.exe\t-b 100 \u2103", "-b 100 \xB0" "C"},
        {u"x \u3000\u00bd in\u00a0", "1/2 in"}, {u"x " + std::u16string(79, u'1') + u"\u00bd\u00bd", string(79, '1') + " 1/2 (cut)"},
        {u"\"no end 5 ft", ""}, {u"ostrel.exe", ""},
    };
    char start[INPUT_BYTES_MAX + 1];
    for (const auto& [line, text] : starts) EXPECT_EQ(ReadStartText(line.c_str(), start) ? start + string(" (cut)") : start, text);
}

HGLOBAL Freed;
HGLOBAL WINAPI NoteFree(HGLOBAL block) { return Freed = block, nullptr; }
// A system function's stand-in that fails, giving nothing.
template <class Result, class... Arguments> Result WINAPI Nothing(Arguments...) { return nullptr; }

TEST(Shell, ClipboardFailuresAreCodedWarnedAndLeakNothing)
{
    // A block the clipboard did not take goes back (freed).
    const struct { const char* dll; const char* function; ULONG_PTR standIn; int code; bool freed; const char* warning; } rows[] = {
        {"user32.dll", "SetClipboardData", Address(Nothing<HANDLE, UINT, HANDLE>), CLIP_REFUSED, true, "Error copying text to clipboard"},
        {"kernel32.dll", "GlobalLock", Address(Nothing<LPVOID, HGLOBAL>), CLIP_NO_MEMORY, true, "Out of memory"},
        {"kernel32.dll", "GlobalAlloc", Address(Nothing<HGLOBAL, UINT, SIZE_T>), CLIP_NO_MEMORY, false, "Out of memory"},
    };
    ULONG_PTR* globalFree = ImportSlot("kernel32.dll", "GlobalFree");
    const ULONG_PTR realFree = std::exchange(*globalFree, Address(NoteFree));
    for (const auto& row : rows) {
        Freed = nullptr;
        ASSERT_EQ(PutClipboardText(L"before"), CLIP_OK);
        EXPECT_EQ(Freed, nullptr) << "a block the clipboard took is the clipboard's";
        ULONG_PTR* slot = ImportSlot(row.dll, row.function);
        ASSERT_TRUE(slot) << row.function;
        const ULONG_PTR real = std::exchange(*slot, row.standIn);
        EXPECT_EQ(PutClipboardText(L"1.52 m"), row.code) << row.function;
        EXPECT_EQ(Freed != nullptr, row.freed) << row.function;
        CopyResult();
        EXPECT_EQ(BoxText, row.warning) << row.function;
        *slot = real;
    }
    *globalFree = realFree;
}

TEST(Shell, MessagesAreFormattedOnlyWhenAskedAndCutTo403)
{
    static const string overlong(1000, 'x');  // unbreakable: only the cut shows
    const struct { void (*show)(); string text; HWND owner; } rows[] = {
        {[] { ShowWarning(nullptr, "%d %s", 5, "ft"); }, "5 ft", nullptr},
        {[] { ReportToMainWindow("100% sure, %s stays"); }, "100% sure, %s stays", MainWindow},
        {[] { ReportToMainWindow(overlong.c_str()); }, string(403, 'x'), MainWindow},
        {[] { ShowWarning(MainWindow, "%s", overlong.c_str()); }, string(403, 'x'), MainWindow},
        {[] { ReportSystemError(ReportToMainWindow, 0x2000BEEF); }, "Error 536919791", MainWindow},  // no system text
        {[] { ShowWarning(nullptr, "interrupted: %s", SignalName(99)); }, "interrupted: call for undefined signal\nmessage", nullptr},
    };
    for (const auto& row : rows) {
        row.show();
        EXPECT_EQ(BoxText, row.text);
        EXPECT_EQ(BoxOwner, row.owner) << row.text;
    }
}

// Creates the test key afresh under HKEY_CURRENT_USER with these values (name, type, bytes).
using Values = std::vector<std::tuple<string, DWORD, string>>;
const char TEST_KEY[] = "Software\\OstrelTest\\State";
void FreshKey(const char* path, const Values& values)
{
    HKEY key;
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OstrelTest");
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (const auto& [name, type, data] : values)
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

std::vector<string> Reports;
int Record(const char* text) { return Reports.emplace_back(text), 0; }

TEST(Shell, RegistryReadTakesOnlyAValueOfTheAskedNameAndSize)
{
    const string nine("\x09\0\0\0", 4);
    const std::pair<Values, bool> rows[] = {  // stored, and 9 read
        {{{"big", REG_BINARY, string(64, 'b')}, {string(200, 'n'), REG_DWORD, nine}, {"wxpos", REG_DWORD, nine}}, true},
        {{{"wxpos", REG_BINARY, nine}}, true},  // the type is not examined
        {{{"WxPoS", REG_DWORD, nine}}, true},   // names compare as Windows compares them
        {{{"wxposition", REG_DWORD, nine}}, false}, {{{"wxpos", REG_QWORD, nine + nine}}, false},
        {{{"wxpos", REG_BINARY, nine.substr(0, 2)}}, false}, {{}, false},
    };
    for (const auto& [stored, found] : rows) {
        FreshKey(TEST_KEY, stored);
        Reports.clear();
        uint32_t value = 0;
        EXPECT_EQ(RegReadValue(TEST_KEY, "wxpos", &value, sizeof value, Record) != nullptr, found) << stored.size();
        EXPECT_TRUE(!found || value == 9);
        EXPECT_TRUE(Reports.empty());
    }
    // Failures: each reported once, a missing key with the system's own text.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OstrelTest");
    char missing[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0, missing,
                   sizeof missing, nullptr);
    int32_t value = 300;
    EXPECT_EQ(RegEnsureKey((string(TEST_KEY) + "\\" + string(300, 'k')).c_str(), Record), 1);
    EXPECT_EQ(RegWriteValue(TEST_KEY, "wxpos", REG_DWORD, &value, sizeof value, Record), 2);
    EXPECT_EQ(RegReadValue(TEST_KEY, "wxpos", &value, sizeof value, Record), nullptr);
    ASSERT_EQ(Reports.size(), 3u);
    EXPECT_EQ(Reports[1] + Reports[2], string(missing) + missing);
}

TEST(Shell, HelpControlPathIsUsedOnlyWhenAbsoluteAndItFitsWithItsTerminator)
{
    const string fits = "C:\\" + string(MAX_PATH - 4, 'a');
    char windows[MAX_PATH];
    ExpandEnvironmentStringsA("%SystemRoot%\\system32\\hhctrl.ocx", windows, MAX_PATH);
    SetEnvironmentVariableA("OSTREL_LONG", ("C:\\" + string(MAX_PATH, 'l')).c_str());
    const string end(1, '\0');
    const struct { DWORD type; string stored, used; } rows[] = {  // the default value stored (REG_NONE: none); the path used
        {REG_SZ, "C:\\x\\hh.ocx" + end, "C:\\x\\hh.ocx"}, {REG_SZ, "\\\\s\\x\\hh.ocx" + end, "\\\\s\\x\\hh.ocx"},
        {REG_EXPAND_SZ, "%SystemRoot%\\system32\\hhctrl.ocx" + end, windows},
        // Found by the loader's search, from the program's folder first: not taken.
        {REG_SZ, "hhctrl.ocx" + end, ""}, {REG_SZ, "x\\hh.ocx" + end, ""}, {REG_SZ, "\\x\\hh.ocx" + end, ""}, {REG_SZ, "C:hh.ocx" + end, ""},
        {REG_EXPAND_SZ, "%OSTREL_NONE%\\hh.ocx" + end, ""}, {REG_EXPAND_SZ, "%OSTREL_LONG%" + end, ""}, {REG_BINARY, "C:\\x\\hh.ocx" + end, ""},
        {REG_SZ, fits, fits},  // unterminated, one byte short of the buffer
        {REG_SZ, fits + "b", ""}, {REG_SZ, string(400, 'c') + end, ""}, {REG_SZ, end, ""}, {REG_NONE, "", ""},
    };
    for (const auto& row : rows) {
        FreshKey("Software\\OstrelTest\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32",
                 row.type == REG_NONE ? Values() : Values{{"", row.type, row.stored}});
        HKEY classes;
        wchar_t path[MAX_PATH];
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OstrelTest", 0, KEY_READ, &classes);
        const wchar_t* found = RegisteredHelpControl(classes, path);
        RegCloseKey(classes);
        EXPECT_EQ(found ? string(found, found + wcslen(found)) : "", row.used) << row.stored.substr(0, 40);
    }
}

LRESULT WINAPI Refused(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR) { return SetLastError(ERROR_ACCESS_DENIED), 0; }

TEST(Shell, MainDialogShowsItsIconsTakesNoEmptyHandOverSaysARefusedOneDispatchesOnTheLowWordAndEndsCom)
{
    AppInstance = GetModuleHandleA(nullptr);
    std::strcpy(InputText, "5 ft");
    HWND dialog = CreateDialogParamW(AppInstance, L"OSTRELDLG", nullptr, MainDialogProc, 0);
    ASSERT_TRUE(dialog);
    for (const auto& [which, size] : {std::pair<WPARAM, int>(ICON_SMALL, SM_CXSMICON), {ICON_BIG, SM_CXICON}}) {
        ICONINFO icon = {};
        BITMAP bitmap = {};
        EXPECT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, which, 0)), &icon) &&
                    GetObjectA(icon.hbmColor, sizeof bitmap, &bitmap) && bitmap.bmWidth == GetSystemMetrics(size)) << which;
    }
    SendMessageA(dialog, WM_COPYDATA, 0, 0);
    EXPECT_STREQ(InputText, "5 ft");
    // A start that Windows keeps from the window of a program run as administrator says so.
    ULONG_PTR* send = ImportSlot("user32.dll", "SendMessageTimeoutA");
    ASSERT_TRUE(send);
    const ULONG_PTR real = std::exchange(*send, Address(Refused));
    EXPECT_FALSE(BecomesFirst(nullptr));
    EXPECT_EQ(BoxText, "Ostrel is running as administrator.\nClose it, or start this one as\nadministrator too.");
    *send = real;
    EXPECT_TRUE(MainDialogProc(dialog, 0x10000 | WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK) << "COM left initialised";
    CoUninitialize();
}

TEST(Shell, DialogFieldsAreNamedForScreenReadersByLabelsNotDrawn)
{
    const struct { const wchar_t* dialog; int field; std::wstring name; } rows[] = {
        {L"OSTRELDLG", IDC_INPUT, L"Amount and unit"}, {L"OSTRELDLG", IDC_RESULT, L"Result"},
        {L"ABOUT", IDC_VERSION, L"Version"}, {L"ABOUT", IDC_COMPILED, L"Built"}};
    for (const auto& row : rows) {
        HWND dialog = CreateDialogParamW(GetModuleHandleA(nullptr), row.dialog, nullptr, nullptr, 0);
        HWND field = GetDlgItem(dialog, row.field);
        IAccessible* object = nullptr;
        VARIANT self = {};
        self.vt = VT_I4;  // the field itself: CHILDID_SELF, 0
        BSTR name = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(field, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&object)), S_OK);
        object->get_accName(self, &name);
        EXPECT_EQ(name ? std::wstring(name) : L"(none)", row.name);
        EXPECT_FALSE(GetWindowLongW(GetWindow(field, GW_HWNDPREV), GWL_STYLE) & WS_VISIBLE) << "the label is drawn";
        SysFreeString(name), object->Release(), DestroyWindow(dialog);
    }
}

}  // namespace
