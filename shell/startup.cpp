// The program's entry: batch mode, hand-over to a running window, or the main dialog.
#include "app.h"
#include "clipboard.h"
#include "convert.h"
#include "help.h"
#include "maindlg.h"
#include "message.h"
#include "placement.h"
#include "text.h"
#include "textrules.h"

#include <windows.h>

#include <cstring>

namespace {

const char INSTANCE_NAME[] = "Ostrel";  // the mutex, and the main dialog's title

// A script must learn when the answer could not be placed, a clipboard held by others included.
constexpr int BATCH_CLIPBOARD_FAILED = 2;

int RunBatch()
{
    const char* result = ConvertExpression(Unquote(TrimSpace(InputText + 2)));
    static wchar_t answer[RESULT_TEXT_SIZE];
    WidenEngineText(answer, result ? result : DONT_KNOW, RESULT_TEXT_SIZE);
    return PutClipboardText(answer) == CLIP_OK ? 0 : BATCH_CLIPBOARD_FAILED;
}

void HandOver(HWND running)
{
    if (InputText[0] != '\0') {
        COPYDATASTRUCT data = {};
        const size_t length = strlen(InputText);  // at most INPUT_BYTES_MAX
        data.cbData = static_cast<DWORD>(length) + 1;
        data.lpData = InputText;
        SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    PlaceWindow(running, PW_RESTORE | PW_FOREGROUND);
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
    ReadStartText(reinterpret_cast<const char16_t*>(GetCommandLineW()), InputText);
    if (strncmp(InputText, "-b", 2) == 0) return RunBatch();
    const char* unquoted = Unquote(InputText);
    memmove(InputText, unquoted, strlen(unquoted) + 1);

    // Only a dialog can be our main window; the mutex tells whether one of ours is running at all.
    HWND running = FindWindowA("#32770", INSTANCE_NAME);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, INSTANCE_NAME);
    bool anotherInstance = GetLastError() == ERROR_ALREADY_EXISTS;
    if (anotherInstance && running) {
        HandOver(running);
        return 1;
    }
    if (anotherInstance) {
        ShowWarning(nullptr, "Ostrel is already running");
        return 1;
    }

    AppInstance = hInstance;
    // A Unicode dialog: the edit controls of an ANSI one keep their text in the system's code
    // page, where the degree sign of a result may not exist.
    HWND dialog = CreateDialogParamW(hInstance, L"OSTRELDLG", nullptr, MainDialogProc, 0);
    const int result = dialog ? RunDialogs() : -1;
    CloseHelp();
    if (mutex) CloseHandle(mutex);
    ExitProcess(static_cast<UINT>(result));
}
