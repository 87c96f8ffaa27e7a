// Copy and Paste against Wine's real clipboard on the real main dialog: blocks placed by the test
// itself, an empty clipboard, a clipboard held open by another thread, and failures provoked by
// swapping an import of this executable for a stand-in.
#include "app.h"
#include "clipboard.h"
#include "resource.h"
#include "winutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Places exactly these bytes as CF_TEXT; none at all when absent.
void PlaceBlock(HWND owner, const std::string* bytes)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    if (bytes) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
        memcpy(GlobalLock(block), bytes->data(), bytes->size());
        GlobalUnlock(block);
        EXPECT_TRUE(SetClipboardData(CF_TEXT, block));
    }
    CloseClipboard();
}

HANDLE ReleaseClipboard;
DWORD WINAPI HoldClipboard(void* opened)
{
    bool holding = OpenClipboard(nullptr) != FALSE;
    SetEvent(opened);
    WaitForSingleObject(ReleaseClipboard, INFINITE);
    if (holding) CloseClipboard();
    return 0;
}

// Points this executable's import slot for real at standIn; returns real, or 0 if not imported.
ULONG_PTR ReplaceImport(ULONG_PTR real, ULONG_PTR standIn)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const LONG headers = reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + headers);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name; ++dll) {
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; slot->u1.Function; ++slot) {
            if (slot->u1.Function != real) continue;
            DWORD protection;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
            slot->u1.Function = standIn;
            VirtualProtect(slot, sizeof *slot, protection, &protection);
            return real;
        }
    }
    return 0;
}

ULONG_PTR Imported(const char* dll, const char* name)
{
    return reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleA(dll), name));
}

HGLOBAL LastFreed;
HANDLE WINAPI RefuseData(UINT, HANDLE) { return nullptr; }
LPVOID WINAPI FailLock(HGLOBAL) { return nullptr; }
HGLOBAL WINAPI NoteFree(HGLOBAL block)
{
    LastFreed = block;
    return nullptr;  // a test process can spare the bytes
}

TEST(PutClipboardText, PlacesTheWholeText)
{
    HWND dialog = OpenMainDialog("");
    const std::string texts[] = {"1.52 m", "", "a\r\nb", std::string(500, 'x')};
    for (HWND owner : {dialog, static_cast<HWND>(nullptr)}) {  // no owner: batch mode
        MainWindow = owner;
        for (const std::string& text : texts) {
            EXPECT_EQ(PutClipboardText(text.c_str()), CLIP_OK);
            EXPECT_EQ(ClipboardText(), text);
        }
    }
    MainWindow = dialog;
    for (const char* result : {"4.41 lbs", ""}) {
        SetDlgItemTextA(dialog, IDC_RESULT, result);
        EXPECT_EQ(WarningDuring(dialog, CopyResult), "");
        EXPECT_EQ(ClipboardText(), result);
    }
    DestroyWindow(dialog);
}

struct FailureCase {
    const char* name;
    const char* dll;       // the import swapped for standIn; none: another thread holds the clipboard
    const char* function;
    ULONG_PTR standIn;
    int result;
    const char* warning;
};

const FailureCase FailureCases[] = {
    {"the clipboard is held open", nullptr, nullptr, 0, CLIP_NOT_OPEN, "Error copying text to clipboard"},
    {"the clipboard refuses the block", "user32.dll", "SetClipboardData",
     reinterpret_cast<ULONG_PTR>(RefuseData), CLIP_REFUSED, "Error copying text to clipboard"},
    {"the block cannot be locked", "kernel32.dll", "GlobalLock", reinterpret_cast<ULONG_PTR>(FailLock),
     CLIP_NO_MEMORY, "Out of memory"},
};

TEST(PutClipboardText, FailuresAreReportedAndLeakNothing)
{
    HWND dialog = OpenMainDialog("");
    SetDlgItemTextA(dialog, IDC_RESULT, "1.52 m");
    const ULONG_PTR realFree =
        ReplaceImport(Imported("kernel32.dll", "GlobalFree"), reinterpret_cast<ULONG_PTR>(NoteFree));
    ASSERT_NE(realFree, 0u);
    for (const FailureCase& c : FailureCases) {
        PutClipboardText("before");
        ULONG_PTR real = 0;
        HANDLE holder = nullptr;
        if (c.dll) {
            real = ReplaceImport(Imported(c.dll, c.function), c.standIn);
            ASSERT_NE(real, 0u) << c.function << " is not imported";
        } else {
            HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
            ReleaseClipboard = CreateEventA(nullptr, TRUE, FALSE, nullptr);
            holder = CreateThread(nullptr, 0, HoldClipboard, opened, 0, nullptr);
            WaitForSingleObject(opened, INFINITE);
            CloseHandle(opened);
        }
        LastFreed = nullptr;
        EXPECT_EQ(PutClipboardText("1.52 m"), c.result) << c.name;
        EXPECT_EQ(LastFreed != nullptr, c.dll != nullptr) << c.name << ": a refused block must be freed";
        EXPECT_EQ(WarningDuring(dialog, CopyResult), c.warning) << c.name;
        if (c.dll) {
            ReplaceImport(c.standIn, real);
        } else {
            SetDlgItemTextA(dialog, IDC_INPUT, "typed");
            PasteInput();
            EXPECT_EQ(ItemText(dialog, IDC_INPUT), "typed") << c.name;
            SetEvent(ReleaseClipboard);
            WaitForSingleObject(holder, INFINITE);
            CloseHandle(holder);
            CloseHandle(ReleaseClipboard);
            EXPECT_EQ(ClipboardText(), "before") << c.name;
        }
    }
    ReplaceImport(reinterpret_cast<ULONG_PTR>(NoteFree), realFree);
    DestroyWindow(dialog);
}

struct PasteCase {
    const char* name;
    std::string text;  // placed with a terminator after it
    std::string input;
};

const PasteCase PasteCases[] = {
    {"first line of CR LF text", "5 ft\r\n2 kg\r\n", "5 ft"},
    {"leading CR LF empties the field", "\r\n5 ft", ""},
    {"a single line", "2 kg", "2 kg"},
    {"bytes after a terminator are not read", std::string("12 in\0junk\n", 11), "12 in"},
    {"a line longer than the field is taken whole", std::string(300, '7'), std::string(300, '7')},
};

TEST(PasteInput, FirstLineIntoTheInputField)
{
    HWND dialog = OpenMainDialog("");
    for (const PasteCase& c : PasteCases) {
        SetDlgItemTextA(dialog, IDC_INPUT, "before");
        SetDlgItemTextA(dialog, IDC_RESULT, "old result");
        const std::string block(c.text.c_str(), c.text.size() + 1);
        PlaceBlock(dialog, &block);
        PasteInput();
        EXPECT_EQ(ItemText(dialog, IDC_INPUT), c.input) << c.name;
        EXPECT_EQ(ItemText(dialog, IDC_RESULT), "old result") << c.name << ": Paste does not convert";
        EXPECT_EQ(ClipboardText(), c.text.substr(0, c.text.find('\0'))) << c.name << ": clipboard changed";
    }

    SetDlgItemTextA(dialog, IDC_INPUT, "before");
    PlaceBlock(dialog, nullptr);
    PasteInput();
    EXPECT_EQ(ItemText(dialog, IDC_INPUT), "before") << "no text on the clipboard";

    // Wine hands an unterminated block back with its last byte made a terminator, Windows as it
    // was placed: either way the field shows part of the block and nothing past it.
    const std::string unterminated = "12 in";
    PlaceBlock(dialog, &unterminated);
    PasteInput();
    const std::string input = ItemText(dialog, IDC_INPUT);
    EXPECT_EQ(input, ClipboardText());
    EXPECT_GE(input.size(), unterminated.size() - 1);
    EXPECT_EQ(unterminated.compare(0, input.size(), input), 0) << input;
    DestroyWindow(dialog);
}

}  // namespace
