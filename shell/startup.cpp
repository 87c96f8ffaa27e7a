// The program's entry: batch mode, hand-over to a running window, or the main dialog.
#include "app.h"
#include "clipboard.h"
#include "convert.h"
#include "handover.h"
#include "help.h"
#include "maindlg.h"
#include "message.h"
#include "text.h"
#include "textrules.h"

#include <windows.h>

#include <cstring>

namespace {

// A script must learn when the answer could not be placed, a clipboard held by others included.
constexpr int BATCH_CLIPBOARD_FAILED = 2;

// A text cut to fit is not the one given: its answer would be wrong.
int RunBatch(bool cut)
{
    const char* result = cut ? nullptr : ConvertExpression(Unquote(TrimSpace(InputText + 2)));
    static wchar_t answer[RESULT_TEXT_SIZE];
    WidenEngineText(answer, result ? result : DONT_KNOW, RESULT_TEXT_SIZE);
    return PutClipboardText(answer) == CLIP_OK ? 0 : BATCH_CLIPBOARD_FAILED;
}

// The program's one message loop. Each of its dialogs, the main window and any About boxes,
// handles its own keys (Enter, Tab, Esc) whichever is active; other windows get theirs as sent.
// Unicode throughout, as the dialogs are: typed characters reach them whatever the code page.
int RunDialogs()
{
    MSG message;
    for (BOOL got; (got = GetMessageW(&message, nullptr, 0, 0)) != 0;) {
        if (got == -1) return -1;
        HWND root = GetAncestor(message.hwnd, GA_ROOT);
        const bool ours = root && GetClassLongPtrW(root, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG);
        if (ours && IsDialogMessageW(root, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/, int /*nShowCmd*/)
{
    InstallSignalHandlers(OnFatalSignal);

    // The command line as Unicode: its ANSI form has lost what the system's code page cannot spell.
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");
    const bool cut = ReadStartText(reinterpret_cast<const char16_t*>(GetCommandLineW()), InputText);
    if (strncmp(InputText, "-b", 2) == 0) return RunBatch(cut);
    const char* unquoted = Unquote(InputText);
    memmove(InputText, unquoted, strlen(unquoted) + 1);

    // The first instance owns the mutex until its window is gone; ending, it leaves it to a waiting start.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, INSTANCE_NAME);
    const bool first = mutex && GetLastError() != ERROR_ALREADY_EXISTS;
    if (!first && !BecomesFirst(mutex)) return 1;

    AppInstance = hInstance;
    // A Unicode dialog: the edit controls of an ANSI one keep their text in the system's code
    // page, where the degree sign of a result may not exist.
    HWND dialog = CreateDialogParamW(hInstance, L"OSTRELDLG", nullptr, MainDialogProc, 0);
    const int result = dialog ? RunDialogs() : -1;
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    CloseHelp();
    ExitProcess(static_cast<UINT>(result));
}
