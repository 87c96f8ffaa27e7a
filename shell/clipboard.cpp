// Copy and Paste of plain text. A block handed to the clipboard is the clipboard's; one that it
// refused is freed here. Blocks read from it are trusted no further than their size.
#include "clipboard.h"

#include "app.h"
#include "convert.h"
#include "message.h"
#include "resource.h"
#include "text.h"
#include "textrules.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// Cut as typing into the input field is.
wchar_t PastedLine[INPUT_TEXT_MAX + 1];

bool OpenClipboardPatiently()
{
    for (int tries = 1; !OpenClipboard(MainWindow); ++tries) {
        if (tries == CLIPBOARD_TRIES) return false;
        Sleep(CLIPBOARD_RETRY_MS);
    }
    return true;
}

}  // namespace

int PutClipboardText(const wchar_t* text)
{
    if (!text) text = L"";
    if (!OpenClipboardPatiently()) return CLIP_NOT_OPEN;

    const size_t size = (wcslen(text) + 1) * sizeof *text;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block) {
        CloseClipboard();
        return CLIP_NO_MEMORY;
    }
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        CloseClipboard();
        return CLIP_NO_MEMORY;
    }
    memcpy(data, text, size);
    GlobalUnlock(block);

    int result = CLIP_OK;
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, block)) {
        GlobalFree(block);
        result = CLIP_REFUSED;
    }
    CloseClipboard();
    return result;
}

void CopyResult()
{
    // Results are far longer than the input: a value from about 1e76 on prints over 80 digits.
    wchar_t text[RESULT_TEXT_SIZE] = L"";
    GetDlgItemTextW(MainWindow, IDC_RESULT, text, RESULT_TEXT_SIZE);
    int result = PutClipboardText(text);
    if (result == CLIP_NO_MEMORY)
        ShowWarning(MainWindow, "Out of memory");
    else if (result != CLIP_OK)
        ShowWarning(MainWindow, "Error copying text to clipboard");
}

void PasteInput()
{
    if (!OpenClipboardPatiently()) return;
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    const auto* data = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    if (data) {
        size_t length = FirstLineLength(data, GlobalSize(block) / sizeof *data);
        if (length > INPUT_TEXT_MAX) length = INPUT_TEXT_MAX;
        memcpy(PastedLine, data, length * sizeof *data);
        PastedLine[length] = L'\0';
        SetDlgItemTextW(MainWindow, IDC_INPUT, PastedLine);
        GlobalUnlock(block);
    }
    CloseClipboard();
}
