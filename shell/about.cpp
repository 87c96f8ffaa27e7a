// The about box: version and build date, placed just inside the main window's corner, with a sound.
#include "about.h"

#include <mmsystem.h>

#include <cstdio>

#include "app.h"
#include "placement.h"
#include "resource.h"
#include "syslib.h"
#include "version.h"

namespace {

using PlaySoundProc = decltype(&PlaySoundA);
PlaySoundProc PlaySoundEntry;
bool SoundBound;

// winmm is not one of the system's known libraries: imported, it would be taken from the
// program's folder first. It is bound when the first box needs it; without it, no sound.
void PlayAboutSound()
{
    if (!SoundBound) {
        SoundBound = true;
        if (HMODULE winmm = LoadSystemLibrary(L"winmm.dll")) {
            FARPROC entry = GetProcAddress(winmm, "PlaySoundA");
            PlaySoundEntry = reinterpret_cast<PlaySoundProc>(reinterpret_cast<void (*)()>(entry));
        }
    }
    // Without SND_NODEFAULT a missing tada.wav still gives the system's default sound.
    if (PlaySoundEntry) PlaySoundEntry("tada.wav", nullptr, SND_FILENAME | SND_ASYNC);
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (LOWORD(message)) {
    case WM_INITDIALOG: {
        char text[80];
        snprintf(text, sizeof text, "Version: %s", OSTREL_VERSION_TEXT);
        SetDlgItemTextA(dialog, IDC_VERSION, text);
        snprintf(text, sizeof text, "Compiled: %s", __DATE__);
        SetDlgItemTextA(dialog, IDC_COMPILED, text);
        RECT mainRect;
        if (GetWindowRect(MainWindow, &mainRect))
            PlaceWindow(dialog, PW_MOVE, mainRect.left + 20, mainRect.top + 20);
        PlayAboutSound();
        break;
    }
    case WM_COMMAND:  // OK, or Esc as in every about box
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        break;
    case WM_CLOSE:
        DestroyWindow(dialog);
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) DestroyWindow(dialog);
        break;
    }
    return FALSE;
}
