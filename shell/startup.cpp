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
const char DIALOG_CLASS[] = "#32770";    // only a dialog can be our main window

// How long a start looks for the main window of an instance that owns the mutex (one still
// starting, or closing: its window gone, its process not yet), and waits for that window's answer.
constexpr DWORD WINDOW_WAIT_MS = 5000;
constexpr DWORD ANSWER_WAIT_MS = 5000;

// A script must learn when the answer could not be placed, a clipboard held by others included.
constexpr int BATCH_CLIPBOARD_FAILED = 2;

int RunBatch()
{
    const char* result = ConvertExpression(Unquote(TrimSpace(InputText + 2)));
    static wchar_t answer[RESULT_TEXT_SIZE];
    WidenEngineText(answer, result ? result : DONT_KNOW, RESULT_TEXT_SIZE);
    return PutClipboardText(answer) == CLIP_OK ? 0 : BATCH_CLIPBOARD_FAILED;
}

// Hands the text over (without one, only asks whether the window answers) and brings the window
// forward; false when the window did not answer in time.
bool HandOver(HWND running)
{
    COPYDATASTRUCT data = {};
    const size_t length = strlen(InputText);  // at most INPUT_BYTES_MAX
    data.cbData = static_cast<DWORD>(length) + 1;
    data.lpData = InputText;
    DWORD_PTR ignored;
    if (!SendMessageTimeoutA(running, length ? WM_COPYDATA : WM_NULL, 0, length ? reinterpret_cast<LPARAM>(&data) : 0,
                             SMTO_ABORTIFHUNG, ANSWER_WAIT_MS, &ignored))
        return false;
    PlaceWindow(running, PW_RESTORE | PW_FOREGROUND);
    return true;
}

// Another instance owns the mutex: hands over to its window as soon as there is one. True when
// that instance ended meanwhile and this start, now owning the mutex, is to be the first (or, with
// no mutex at all, when no window is there).
bool BecomesFirst(HANDLE mutex)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < WINDOW_WAIT_MS;) {
        if (HWND running = FindWindowA(DIALOG_CLASS, INSTANCE_NAME)) {
            if (HandOver(running)) return false;
            // A window closed during the hand-over is looked for again; one still there is hung.
            if (IsWindow(running)) {
                ShowWarning(nullptr, "Ostrel is running but not responding");
                return false;
            }
        }
        if (!mutex) return true;
        const DWORD waited = WaitForSingleObject(mutex, 50);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
    }
    ShowWarning(nullptr, "Ostrel is already running");
    return false;
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
