// Libraries the program binds at run time are loaded by their full path in the system folder: by
// bare name, the loader would look in the program's folder first, where anything may lie.
#pragma once

#include <windows.h>

// Fills path (MAX_PATH bytes) with the system folder's path of name; nullptr when it does not fit.
const char* SystemFilePath(const char* name, char* path);

// The named library from the system folder, or nullptr when it cannot be loaded from there.
HMODULE LoadSystemLibrary(const char* name);
