// Per-user settings under HKEY_CURRENT_USER: make sure a key exists, write a value, read a value.
// Platform failures are reported through the caller's ErrorReporter with the system's own text.
#pragma once

#include <windows.h>

#include "message.h"

// 0 when the key exists afterwards (created or already there), 1 on failure.
WORD RegEnsureKey(const char* path, ErrorReporter reporter);

// Writes one value into an existing key: 0 on success, 2 on failure (a missing key included).
WORD RegWriteValue(const char* path, const char* name, DWORD type, const void* data, DWORD size,
                   ErrorReporter reporter);

// Fills data with the value whose name matches (the case of A-Z aside, as a hand edit may change
// it) and whose stored size is exactly size bytes; returns data, or nullptr when there is no such
// value. On nullptr the buffer's contents are undefined: callers fall back to their own default.
void* RegReadValue(const char* path, const char* name, void* data, DWORD size,
                   ErrorReporter reporter);
