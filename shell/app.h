// The shell's process-wide state: the input line, the main window and the module that holds the
// resources. Set once by start-up and the main dialog, read everywhere else.
#pragma once

#include <windows.h>

#include <cstddef>

// The longest input the program converts; the buffer holds it and a terminator.
constexpr size_t INPUT_TEXT_MAX = 80;

extern char InputText[INPUT_TEXT_MAX + 1];
extern HWND MainWindow;           // none until the main dialog exists
extern HINSTANCE AppInstance;     // where the dialogs and the icon are loaded from
