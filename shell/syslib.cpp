// Loading of system libraries by full path.
#include "syslib.h"

#include <cstring>

const char* SystemFilePath(const char* name, char* path)
{
    const size_t nameSize = std::strlen(name) + 1;
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + nameSize > MAX_PATH) return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameSize);
    return path;
}

HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    return SystemFilePath(name, path) ? LoadLibraryA(path) : nullptr;
}
