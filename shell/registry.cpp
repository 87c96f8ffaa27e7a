// Registry settings store. The read enumerates the key's values instead of asking by name, and
// compares names without regard to the case of A-Z, as Windows itself does.
#include "registry.h"

#include "text.h"

WORD RegEnsureKey(const char* path, ErrorReporter reporter)
{
    HKEY key;
    DWORD disposition;
    char emptyClass[] = "";
    LONG code = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (code != ERROR_SUCCESS) {
        ReportSystemError(reporter, static_cast<DWORD>(code));
        return 1;
    }
    RegCloseKey(key);
    return 0;
}

WORD RegWriteValue(const char* path, const char* name, DWORD type, const void* data, DWORD size,
                   ErrorReporter reporter)
{
    HKEY key;
    LONG code = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key);
    if (code == ERROR_SUCCESS) {
        code = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    if (code != ERROR_SUCCESS) {
        ReportSystemError(reporter, static_cast<DWORD>(code));
        return 2;
    }
    return 0;
}

void* RegReadValue(const char* path, const char* name, void* data, DWORD size,
                   ErrorReporter reporter)
{
    HKEY key;
    LONG code = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    if (code != ERROR_SUCCESS) {
        ReportSystemError(reporter, static_cast<DWORD>(code));
        return nullptr;
    }

    char keyClass[260];
    DWORD classLength = sizeof keyClass;
    DWORD valueCount = 0;
    code = RegQueryInfoKeyA(key, keyClass, &classLength, nullptr, nullptr, nullptr, nullptr,
                            &valueCount, nullptr, nullptr, nullptr, nullptr);
    if (code != ERROR_SUCCESS) {
        ReportSystemError(reporter, static_cast<DWORD>(code));
        valueCount = 0;
    }

    void* result = nullptr;
    for (DWORD index = 0; index < valueCount; index++) {
        char valueName[128];
        DWORD nameLength = sizeof valueName;
        DWORD dataSize = size;
        DWORD type;
        valueName[0] = '\0';
        if (RegEnumValueA(key, index, valueName, &nameLength, nullptr, &type,
                          static_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
            continue;
        if (CompareNoCase(valueName, name) == 0) {
            // A shorter value leaves part of the caller's buffer stale: as unusable as a longer one.
            if (dataSize == size) result = data;
            break;
        }
    }
    RegCloseKey(key);
    return result;
}
