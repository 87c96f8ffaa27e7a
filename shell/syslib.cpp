// Loading of system libraries by full path.
#include "syslib.h"

#include <cwchar>

HMODULE LoadByFullPath(const wchar_t* path)
{
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    const size_t nameSize = wcslen(name) + 1;
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + nameSize > MAX_PATH) return nullptr;
    path[length] = L'\\';
    wmemcpy(path + length + 1, name, nameSize);
    return LoadByFullPath(path);
}
