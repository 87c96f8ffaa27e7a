// The shell's process-wide state: the input line, the main window and the module that holds the
// resources. Set once by start-up and the main dialog, read everywhere else.
#pragma once

#include <windows.h>

#include "textrules.h"

// The input as the engine's bytes: what was typed, pasted, given at start or handed over.
extern char InputText[INPUT_BYTES_MAX + 1];
extern HWND MainWindow;           // none until the main dialog exists
extern HINSTANCE AppInstance;     // where the dialogs and the icon are loaded from
