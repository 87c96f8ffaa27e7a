// The main window: the modeless dialog "OSTRELDLG", its commands, and the receiving end of a
// hand-over. Closing it saves its position and ends the message loop with exit code 1.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Converts InputText, shows the answer in the dialog's result field and announces it there to
// screen readers.
void ConvertAndShow(HWND dialog);

// The icons of the title bar and of the taskbar and Alt+Tab, each at the system's size for it.
void SetDialogIcon(HWND dialog);
