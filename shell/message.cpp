// Message boxes folded at 40 columns, a printf-style warning over a fixed buffer, system error texts
// and the fatal-signal handler.
#include "message.h"

#include "app.h"
#include "text.h"
#include "textrules.h"

#include <csignal>
#include <cstdarg>
#include <cstdio>

namespace {

struct SignalText {
    int number;
    const char* text;
};

const int OTHER_SIGNAL = -99;

const SignalText SignalTable[] = {
    {SIGSEGV, "segmentation error"},
    {SIGILL, "illegal instruction"},
    {SIGABRT, "abort signal"},
    {SIGTERM, "termination signal"},
    {SIGINT, "interrupt"},
#ifdef SIGBREAK
    {SIGBREAK, "break request"},
#endif
    {SIGFPE, "floating point exception"},
    {OTHER_SIGNAL, "call for undefined signal message"},
};

const int FatalSignals[] = {
    SIGSEGV, SIGILL, SIGABRT, SIGTERM, SIGINT,
#ifdef SIGBREAK
    SIGBREAK,
#endif
    SIGFPE,
};

char WarningText[MESSAGE_TEXT_SIZE];
char ReportText[MESSAGE_TEXT_SIZE];

// The system C library's formatting keeps the program small; it leaves a text that it had to
// cut without a terminator, so the last byte is always written here.
void FormatInto(char* buffer, const char* format, va_list args) MESSAGE_FORMAT(2, 0);

void FormatInto(char* buffer, const char* format, va_list args)
{
    _vsnprintf(buffer, MESSAGE_TEXT_SIZE - 1, format, args);
    buffer[MESSAGE_TEXT_SIZE - 1] = '\0';
}

}  // namespace

int ShowText(HWND owner, UINT style, char* text)
{
    FoldMessageText(text);
    return MessageBoxA(owner, text, nullptr, style);
}

int ShowWarning(HWND owner, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatInto(WarningText, format, args);
    va_end(args);
    return ShowText(owner, WARNING_STYLE, WarningText);
}

int ReportToMainWindow(const char* text)
{
    ReportText[0] = '\0';
    BoundedCopy(ReportText, text, MESSAGE_TEXT_SIZE - 1);
    return ShowText(MainWindow, WARNING_STYLE, ReportText);
}

void ReportSystemError(ErrorReporter reporter, DWORD code)
{
    char* systemText = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, 0, reinterpret_cast<char*>(&systemText), 0, nullptr);
    if (length != 0 && systemText) {
        reporter(systemText);
    } else {
        // The system has no words for this code: the number is all there is to tell.
        char fallback[24];
        _snprintf(fallback, sizeof fallback - 1, "Error %lu", static_cast<unsigned long>(code));
        fallback[sizeof fallback - 1] = '\0';
        reporter(fallback);
    }
    if (systemText) LocalFree(systemText);
}

void InstallSignalHandlers(SignalHandler handler)
{
    for (int number : FatalSignals) signal(number, handler);
}

const char* SignalName(int number)
{
    const SignalText* row = SignalTable;
    while (row->number != number && row->number != OTHER_SIGNAL) ++row;
    return row->text;
}

void OnFatalSignal(int number)
{
    ShowWarning(nullptr, "interrupted: %s", SignalName(number));
    ExitProcess(static_cast<UINT>(number));
}
