// The main window: the dialog "OSTRELDLG", its commands, and the receiving end of a hand-over.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Converts InputText and shows the answer in the dialog's result field.
void ConvertAndShow(HWND dialog);

// The small icon of the title bar; the large one is left to the platform.
void SetDialogIcon(HWND dialog);
