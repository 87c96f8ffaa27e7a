// Libraries the program binds at run time are loaded by their full path in the system folder: by
// bare name, the loader would look in the program's folder first, where anything may lie.
#pragma once

#include <windows.h>

// The library at an absolute path, with the libraries it needs in turn taken from its own folder
// and the system's, never the program's; nullptr when it cannot be loaded.
HMODULE LoadByFullPath(const wchar_t* path);

// The named library from the system folder, or nullptr when it cannot be loaded from there.
HMODULE LoadSystemLibrary(const wchar_t* name);
