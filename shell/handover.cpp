// The hand-over to a running instance's window, bounded in time at each step.
#include "handover.h"

#include "app.h"
#include "message.h"
#include "placement.h"

#include <cstring>

namespace {

const char DIALOG_CLASS[] = "#32770";  // only a dialog can be our main window

// How long a start looks for the main window of an instance that owns the mutex (one still
// starting, or closing: its window gone, its process not yet), and waits for that window's answer.
constexpr DWORD WINDOW_WAIT_MS = 5000;
constexpr DWORD ANSWER_WAIT_MS = 5000;

// Hands the text over (without one, only asks whether the window answers) and brings the window
// forward; false, with the system's last error, when the window did not take it in time.
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

}  // namespace

bool BecomesFirst(HANDLE mutex)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < WINDOW_WAIT_MS;) {
        if (HWND running = FindWindowA(DIALOG_CLASS, INSTANCE_NAME)) {
            if (HandOver(running)) return false;
            // A window closed during the hand-over is looked for again; one still there is hung,
            // or is one that the system keeps this start from: that of a program run elevated.
            const bool elevated = GetLastError() == ERROR_ACCESS_DENIED;
            if (IsWindow(running)) {
                ShowWarning(nullptr, elevated ? "Ostrel is running as administrator. Close it, or start this one as administrator too."
                                              : "Ostrel is running but not responding");
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
