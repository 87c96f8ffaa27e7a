// The program's entry: batch mode, hand-over to a running window, or the main dialog.
#include "app.h"
#include "clipboard.h"
#include "convert.h"
#include "maindlg.h"
#include "message.h"
#include "placement.h"
#include "text.h"

#include <windows.h>

#include <cstring>

namespace {

const char INSTANCE_NAME[] = "Ostrel";  // the mutex, and the main dialog's title

int RunBatch()
{
    const char* result = ConvertExpression(TrimSpace(InputText + 2));
    PutClipboardText(result ? result : DONT_KNOW);
    return 0;
}

void HandOver(HWND running)
{
    if (InputText[0] != '\0') {
        COPYDATASTRUCT data = {};
        const size_t length = strlen(InputText);  // at most INPUT_TEXT_MAX
        data.cbData = static_cast<DWORD>(length) + 1;
        data.lpData = InputText;
        SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    PlaceWindow(running, PW_FOREGROUND);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int /*nShowCmd*/)
{
    InstallSignalHandlers(OnFatalSignal);

    InputText[0] = '\0';
    if (lpCmdLine && lpCmdLine[0] != '\0') BoundedCopy(InputText, TrimSpace(lpCmdLine), INPUT_TEXT_MAX);
    if (strncmp(InputText, "-b", 2) == 0) return RunBatch();

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
    INT_PTR result = DialogBoxParamA(hInstance, "OSTRELDLG", nullptr, MainDialogProc, 0);
    if (mutex) CloseHandle(mutex);
    ExitProcess(static_cast<UINT>(result));
}
