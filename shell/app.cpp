// Storage for the shell's process-wide state declared in app.h.
#include "app.h"

char InputText[INPUT_BYTES_MAX + 1];
HWND MainWindow;
HINSTANCE AppInstance;
