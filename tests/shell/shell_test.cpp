// What no other process can drive the real program into, tested in-process under Wine: the text
// rules, the clipboard's failure paths, message texts, registry values of any shape, the help
// control's path, and the main dialog's answer to messages Wine will not carry between processes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app.h"
#include "clipboard.h"
#include "help.h"
#include "maindlg.h"
#include "message.h"
#include "registry.h"
#include "syslib.h"
#include "textrules.h"

namespace {

// This program's import slot for dll!name, made writable; failures are injected through it.
ULONG_PTR* ImportSlot(const char* dll, const char* name)
{
    const auto real = reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleA(dll), name));
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* dlls = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; dlls->Name; ++dlls) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dlls->FirstThunk); slot->u1.Function; ++slot) {
            if (slot->u1.Function != real) continue;
            DWORD protection;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
            return reinterpret_cast<ULONG_PTR*>(&slot->u1.Function);
        }
    }
    return nullptr;
}

template <class F>
ULONG_PTR Address(F* function) { return reinterpret_cast<ULONG_PTR>(function); }

// Message boxes are answered at once, and the last one is noted here.
std::string BoxText;
HWND BoxOwner;
int WINAPI NoteBox(HWND owner, LPCSTR text, LPCSTR, UINT)
{
    BoxOwner = owner;
    BoxText = text;
    return IDOK;
}

class Shell : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        *ImportSlot("user32.dll", "MessageBoxA") = Address(NoteBox);
        MainWindow = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    }
};

const std::string Prefix34 = "The quick brown fox jumps over the";  // 34 characters
const std::string Words = "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd";

TEST_F(Shell, MessagesFoldAtFortyColumns)
{
    const struct {
        std::string text, shown;
    } rows[] = {
        {Prefix34 + " abcdefghijklmnopqrstuvwxy", Prefix34 + "\nabcdefghijklmnopqrstuvwxy"},
        {std::string(30, 'a') + "\nbb bb bb bb bb bb bb bb bb bb bb bb", ""},  // "": shown as it is
        {std::string(40, 'x') + " tail", std::string(40, 'x') + "\ntail"},
        {Words, "abcd abcd abcd abcd abcd abcd abcd abcd\nabcd abcd abcd abcd abcd abcd abcd abcd\nabcd abcd"},
        {"abc " + std::string(45, 'z') + " tail " + Words, "abc\n" + std::string(45, 'z') + " tail " + Words},
        {std::string(38, 'a') + "\tbbbbb", std::string(38, 'a') + "\nbbbbb"},
        {std::string(20, 'a') + "\r" + std::string(19, 'b') + " c", std::string(20, 'a') + "\r" + std::string(19, 'b') + "\nc"},
        {std::string(20, 'a') + " " + std::string(19, 'b'), ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        std::string text = row.text;
        FoldMessageText(&text[0]);
        EXPECT_EQ(text, row.shown.empty() ? row.text : row.shown);
    }
}

TEST_F(Shell, PasteTakesTheFirstLineAndNeverReadsPastTheBlock)
{
    const struct {
        std::string block;
        size_t size, length;
    } rows[] = {
        {"5 ft\r\n2 kg\r\n", 12, 4}, {"5 ft\n2 kg", 9, 4}, {"\r\n5 ft", 6, 0}, {"5 ft", 4, 4},
        {"5 ftXXXXXXXX\n", 4, 4},                        // a block without its terminator ends at its size
        {"ab\r\n", 3, 3},                                // a line feed past the size is not seen
        {std::string("ab\0cd\n", 6), 6, 2}, {"a\r\r\n", 4, 2}, {"", 0, 0},
    };
    for (const auto& row : rows) EXPECT_EQ(FirstLineLength(row.block.data(), row.size), row.length) << row.block;
    EXPECT_EQ(FirstLineLength(nullptr, 5), 0u);
}

HGLOBAL Freed;
HGLOBAL WINAPI NoteFree(HGLOBAL block) { return Freed = block, nullptr; }
HANDLE WINAPI Refuse(UINT, HANDLE) { return nullptr; }
LPVOID WINAPI NoLock(HGLOBAL) { return nullptr; }
HGLOBAL WINAPI NoBlock(UINT, SIZE_T) { return nullptr; }

TEST_F(Shell, ClipboardFailuresAreCodedWarnedAndLeakNothing)
{
    const struct {
        const char* dll;
        const char* function;
        ULONG_PTR standIn;
        int code;
        bool freed;  // a block the clipboard did not take goes back
        const char* warning;
    } rows[] = {
        {"user32.dll", "SetClipboardData", Address(Refuse), CLIP_REFUSED, true, "Error copying text to clipboard"},
        {"kernel32.dll", "GlobalLock", Address(NoLock), CLIP_NO_MEMORY, true, "Out of memory"},
        {"kernel32.dll", "GlobalAlloc", Address(NoBlock), CLIP_NO_MEMORY, false, "Out of memory"},
    };
    ULONG_PTR* globalFree = ImportSlot("kernel32.dll", "GlobalFree");
    const ULONG_PTR realFree = std::exchange(*globalFree, Address(NoteFree));
    for (const auto& row : rows) {
        Freed = nullptr;
        ASSERT_EQ(PutClipboardText("before"), CLIP_OK);
        EXPECT_EQ(Freed, nullptr) << "a block the clipboard took is the clipboard's";
        ULONG_PTR* slot = ImportSlot(row.dll, row.function);
        ASSERT_TRUE(slot) << row.function;
        const ULONG_PTR real = std::exchange(*slot, row.standIn);
        EXPECT_EQ(PutClipboardText("1.52 m"), row.code) << row.function;
        EXPECT_EQ(Freed != nullptr, row.freed) << row.function;
        BoxText.clear();
        CopyResult();
        EXPECT_EQ(BoxText, row.warning) << row.function;
        *slot = real;
    }
    *globalFree = realFree;
}

const std::string Overlong(1000, 'x');  // unbreakable, so only the cut to 403 characters shows

TEST_F(Shell, MessagesAreFormattedOnlyWhenAskedAndCutTo403)
{
    const struct {
        void (*show)();
        std::string text;
        bool owned;  // by MainWindow
    } rows[] = {
        {[] { ShowWarning(nullptr, "%d %s", 5, "ft"); }, "5 ft", false},
        {[] { ReportToMainWindow("100% sure, %s stays"); }, "100% sure, %s stays", true},
        {[] { ReportToMainWindow(Overlong.c_str()); }, std::string(403, 'x'), true},
        {[] { ShowWarning(MainWindow, "%s", Overlong.c_str()); }, std::string(403, 'x'), true},
        {[] { ShowMessage(nullptr, MB_OK, "t", "%s", Overlong.c_str()); }, std::string(403, 'x'), false},
        {[] { ReportSystemError(ReportToMainWindow, 0x2000BEEF); }, "Error 536919791", true},  // no system text
        {[] { ShowWarning(nullptr, "interrupted: %s", SignalName(99)); },
         "interrupted: call for undefined signal\nmessage", false},
    };
    for (const auto& row : rows) {
        BoxText.clear();
        row.show();
        EXPECT_EQ(BoxText, row.text);
        EXPECT_EQ(BoxOwner, row.owned ? MainWindow : nullptr) << row.text;
    }
}

struct Stored {
    std::string name;  // empty: the key's default value
    DWORD type;
    std::string data;
};

// Creates the key afresh under HKEY_CURRENT_USER with these values, byte for byte.
void FreshKey(const char* path, const std::vector<Stored>& values)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OstrelTest");
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (const Stored& v : values)
        RegSetValueExA(key, v.name.empty() ? nullptr : v.name.c_str(), 0, v.type,
                       reinterpret_cast<const BYTE*>(v.data.data()), static_cast<DWORD>(v.data.size()));
    RegCloseKey(key);
}

std::vector<std::string> Reports;
int Record(const char* text) { return Reports.emplace_back(text), 0; }

const char TEST_KEY[] = "Software\\OstrelTest\\State";
const std::string Nine("\x09\0\0\0", 4);

TEST_F(Shell, RegistryReadTakesOnlyAValueOfTheAskedNameAndSize)
{
    const struct {
        std::vector<Stored> stored;
        bool found;  // the value 9, without a report
    } rows[] = {
        {{{"big", REG_BINARY, std::string(64, 'b')}, {std::string(200, 'n'), REG_DWORD, Nine}, {"wxpos", REG_DWORD, Nine}}, true},
        {{{"wxpos", REG_BINARY, Nine}}, true},  // the type is not examined
        {{{"WxPoS", REG_DWORD, Nine}}, true},  // names are compared as Windows does, the case aside
        {{{"wxposition", REG_DWORD, Nine}}, false},
        {{{"wxpos", REG_QWORD, Nine + Nine}}, false},
        {{{"wxpos", REG_BINARY, Nine.substr(0, 2)}}, false},
        {{}, false},
    };
    for (const auto& row : rows) {
        FreshKey(TEST_KEY, row.stored);
        Reports.clear();
        uint32_t value = 0;
        EXPECT_EQ(RegReadValue(TEST_KEY, "wxpos", &value, sizeof value, Record) != nullptr, row.found) << row.stored.size();
        EXPECT_TRUE(!row.found || value == 9);
        EXPECT_TRUE(Reports.empty());
    }
}

std::string SystemText(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text, nullptr);
    return text;
}

TEST_F(Shell, RegistryFailuresReturnTheirCodeAndReportTheSystemsText)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OstrelTest");
    Reports.clear();
    int32_t value = 300;
    EXPECT_EQ(RegEnsureKey((std::string(TEST_KEY) + "\\" + std::string(300, 'k')).c_str(), Record), 1);
    EXPECT_EQ(RegWriteValue(TEST_KEY, "wxpos", REG_DWORD, &value, sizeof value, Record), 2);
    EXPECT_EQ(RegReadValue(TEST_KEY, "wxpos", &value, sizeof value, Record), nullptr);
    ASSERT_EQ(Reports.size(), 3u);
    EXPECT_EQ(Reports[1], SystemText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Reports[2], SystemText(ERROR_FILE_NOT_FOUND));
}

TEST_F(Shell, HelpControlPathIsUsedOnlyWhenItFitsWithItsTerminator)
{
    const std::string fits(MAX_PATH - 1, 'a');
    const struct {
        std::vector<Stored> stored;  // the control's default value
        std::string path;            // "": nothing usable
    } rows[] = {
        {{{"", REG_SZ, std::string("C:\\x\\hh.ocx", 12)}}, "C:\\x\\hh.ocx"},
        {{{"", REG_BINARY, fits}}, fits},  // unterminated, one byte short of the buffer
        {{{"", REG_BINARY, fits + "b"}}, ""},
        {{{"", REG_SZ, std::string(400, 'c') + '\0'}}, ""},
        {{{"", REG_SZ, std::string(1, '\0')}}, ""},
        {{}, ""},
    };
    for (const auto& row : rows) {
        FreshKey("Software\\OstrelTest\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", row.stored);
        HKEY classes;
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OstrelTest", 0, KEY_READ, &classes);
        char path[MAX_PATH];
        const char* found = RegisteredHelpControl(classes, path);
        RegCloseKey(classes);
        EXPECT_EQ(found ? std::string(found) : "", row.path);
    }
    char path[MAX_PATH], system[MAX_PATH];
    ASSERT_EQ(SystemFilePath("hhctrl.ocx", path), path);
    EXPECT_EQ(std::string(path), std::string(system, GetSystemDirectoryA(system, MAX_PATH)) + "\\hhctrl.ocx");
}

TEST_F(Shell, MainDialogShowsItsIconIgnoresAnEmptyHandOverAndDispatchesOnTheLowWord)
{
    AppInstance = GetModuleHandleA(nullptr);
    std::strcpy(InputText, "5 ft");
    HWND dialog = CreateDialogParamA(AppInstance, "OSTRELDLG", nullptr, MainDialogProc, 0);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    SendMessageA(dialog, WM_COPYDATA, 0, 0);
    EXPECT_STREQ(InputText, "5 ft");
    EXPECT_TRUE(MainDialogProc(dialog, 0x10000 | WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog));
}

}  // namespace
