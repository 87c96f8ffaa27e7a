// Every message box of the program, the reporting of system errors, and the last word on a
// fatal signal.
#pragma once

#include <windows.h>

// Lets low-level routines report a failure without knowing about windows. The result is ignored.
typedef int (*ErrorReporter)(const char* text);

typedef void (*SignalHandler)(int number);

// Formats are checked in the dialect of the system C library, which formats these texts.
#ifdef __clang__
#define MESSAGE_FORMAT(formatAt, argumentsAt) __attribute__((format(printf, formatAt, argumentsAt)))
#else
#define MESSAGE_FORMAT(formatAt, argumentsAt) __attribute__((format(ms_printf, formatAt, argumentsAt)))
#endif

// Every formatted or reported text is cut to fit these buffers.
constexpr size_t MESSAGE_TEXT_SIZE = 404;

// Style of every warning: OK, exclamation icon, brought to the foreground.
constexpr UINT WARNING_STYLE = MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND;

// Folds text in place at 40 columns and shows it under the system's caption; owner may be absent.
int ShowText(HWND owner, UINT style, char* text);

int ShowWarning(HWND owner, const char* format, ...)
    MESSAGE_FORMAT(2, 3);

// An ErrorReporter: shows the text as it is, as a warning owned by MainWindow.
int ReportToMainWindow(const char* text);

// Hands the system's text for an error code to the reporter.
void ReportSystemError(ErrorReporter reporter, DWORD code);

void InstallSignalHandlers(SignalHandler handler);

const char* SignalName(int number);

// Shows "interrupted: ..." without an owner and ends the process with the signal number.
[[noreturn]] void OnFatalSignal(int number);
