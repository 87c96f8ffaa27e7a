// The main dialog's procedure: one switch on the message, one on the command.
#include "maindlg.h"

#include "about.h"
#include "announce.h"
#include "app.h"
#include "clipboard.h"
#include "convert.h"
#include "help.h"
#include "position.h"
#include "resource.h"
#include "text.h"
#include "textrules.h"
#include "unicode.h"

namespace {

// Ends the program's message loop with exit code 1; any About boxes go with the process.
void CloseMainDialog(HWND dialog)
{
    SaveWindowPosition(dialog);
    DestroyWindow(dialog);
    EndLiveRegion();
    PostQuitMessage(1);
}

// The engine's texts go into the fields as Unicode, so that the degree sign, and any byte of a
// handed-over text, reads right in every code page.
void ShowEngineText(HWND dialog, int field, const char* text)
{
    static wchar_t shown[RESULT_TEXT_SIZE > INPUT_BYTES_MAX ? RESULT_TEXT_SIZE : INPUT_BYTES_MAX + 1];
    SetDlgItemTextW(dialog, field, WidenEngineText(shown, text, sizeof shown / sizeof *shown));
}

// The field is read as Unicode, as it was typed or pasted, and mapped to the engine's bytes. It
// holds at most INPUT_TEXT_MAX typed characters; a text given at start or handed over shows
// mapped already, and maps to itself again.
void ReadInputAndConvert(HWND dialog)
{
    static wchar_t typed[INPUT_BYTES_MAX + 1];
    const UINT length = GetDlgItemTextW(dialog, IDC_INPUT, typed, INPUT_BYTES_MAX + 1);
    MapUtf16(reinterpret_cast<const char16_t*>(typed), length, InputText, sizeof InputText);
    ConvertAndShow(dialog);
}

// After a conversion the next value is typed straight over the last: the input gets the focus
// the dialog's way, with its text selected. Posted, as the documentation asks of a procedure that
// may be setting the focus itself (a click on Convert does).
void SelectInput(HWND dialog)
{
    PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_INPUT)), TRUE);
}

// A hand-over may come from any process: the block is read no further than cbData, nor than
// the input holds.
void TakeHandedOverText(HWND dialog, const COPYDATASTRUCT* data)
{
    if (!data) return;
    size_t n = data->cbData < INPUT_BYTES_MAX ? data->cbData : INPUT_BYTES_MAX;
    BoundedCopy(InputText, static_cast<const char*>(data->lpData), n);
    ShowEngineText(dialog, IDC_INPUT, InputText);
    ConvertAndShow(dialog);
    SelectInput(dialog);
}

BOOL OnCommand(HWND dialog, WORD command)
{
    switch (command) {
    case IDOK:
    case IDM_CONVERT:
        ReadInputAndConvert(dialog);
        SelectInput(dialog);
        break;
    case IDM_EXIT:
        CloseMainDialog(dialog);
        return TRUE;
    case IDM_COPY:
        CopyResult();
        break;
    case IDM_PASTE:
        PasteInput();
        break;
    case IDM_HELP:
        ShowHelp(dialog);
        break;
    case IDM_ABOUT:
        // Unowned on purpose: the main window stays usable while the box is open.
        if (HWND box = CreateDialogParamW(AppInstance, L"ABOUT", nullptr, AboutDialogProc, 0))
            ShowWindow(box, SW_SHOW);
        break;
    }
    return FALSE;
}

}  // namespace

void ConvertAndShow(HWND dialog)
{
    ShowEngineText(dialog, IDC_RESULT, ConvertForDisplay(InputText));
    AnnounceLiveRegion(GetDlgItem(dialog, IDC_RESULT));
}

void SetDialogIcon(HWND dialog)
{
    // Each at the size the system draws it, so that no image is scaled: the title bar's, and the
    // large one that the taskbar and Alt+Tab would otherwise scale up from the small one.
    const struct { WPARAM which; int width, height; } icons[] = {
        {ICON_SMALL, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)},
        {ICON_BIG, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
    };
    for (const auto& icon : icons) {
        if (HANDLE image = LoadImageW(AppInstance, L"OSTRELICON", IMAGE_ICON, icon.width, icon.height, 0))
            SendMessageW(dialog, WM_SETICON, icon.which, reinterpret_cast<LPARAM>(image));
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(message)) {
    case WM_INITDIALOG:
        MainWindow = dialog;
        SetDialogIcon(dialog);
        // A limit on what the user types; a longer text given at start or handed over still shows.
        SendDlgItemMessageW(dialog, IDC_INPUT, EM_LIMITTEXT, INPUT_TEXT_MAX, 0);
        ShowEngineText(dialog, IDC_INPUT, InputText);
        MarkLiveRegion(GetDlgItem(dialog, IDC_RESULT));
        ConvertAndShow(dialog);
        RestoreWindowPosition(dialog);
        return FALSE;
    case WM_COPYDATA:
        TakeHandedOverText(dialog, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return FALSE;
    case WM_HELP:
        ShowHelp(dialog);
        return FALSE;
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE:
        CloseMainDialog(dialog);
        return TRUE;
    case WM_SYSCOMMAND:
        // Exactly SC_CLOSE; every other system command, minimising included, is the platform's.
        if (wParam != SC_CLOSE) return FALSE;
        CloseMainDialog(dialog);
        return TRUE;
    }
    return FALSE;
}
