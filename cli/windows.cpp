// ostrel-convert's standard streams on Windows. A console is written in UTF-16, which it shows
// right whatever its code page; files and pipes get bytes, UTF-8 unless Latin-1 is asked for,
// with lines ended in CR LF as Windows text files are.
#include "streams.h"

#include <windows.h>

#include <climits>
#include <cstdio>

#include "text.h"

const char ENCODING_HELP[] =
    "The degree sign of temperatures reads right wherever the output goes. In a console window\n"
    "it is written as Unicode text, whatever the console's code page. Written to a file or a\n"
    "pipe it is UTF-8, as Notepad, PowerShell 7 and today's tools read it, or with\n"
    "--encoding=latin1 the single byte 0xB0 (Latin-1 and Windows-1252); --encoding=utf-8 chooses\n"
    "UTF-8 there too. The names may be written in any letter case, with or without the hyphen.\n"
    "Lines end in CR LF.\n";

namespace {

DWORD LastFailure;

// What the streams are cut into: the console's own limits on one write are far larger.
constexpr size_t PIECE = 8192;

bool IsConsole(HANDLE stream)
{
    DWORD mode;
    return GetConsoleMode(stream, &mode) != FALSE;
}

bool Failed()
{
    LastFailure = GetLastError();
    return false;
}

bool WriteAll(HANDLE stream, const char* bytes, size_t size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(stream, bytes, static_cast<DWORD>(size), &written, nullptr)) return Failed();
        bytes += written;
        size -= written;
    }
    return true;
}

// Each '\n' goes out as CR LF.
bool WriteBytes(HANDLE stream, const char* text, size_t size)
{
    static char piece[2 * PIECE];
    size_t length = 0;
    for (const char* end = text + size; text < end; ++text) {
        if (*text == '\n') piece[length++] = '\r';
        piece[length++] = *text;
        if (length >= sizeof piece - 1 || text + 1 == end) {
            if (!WriteAll(stream, piece, length)) return false;
            length = 0;
        }
    }
    return true;
}

// UTF-8 in pieces that end on a character's boundary, as UTF-16.
bool WriteConsoleText(HANDLE stream, const char* text, size_t size)
{
    static wchar_t piece[PIECE];
    while (size > 0) {
        size_t taken = size < PIECE ? size : PIECE;
        while (taken < size && taken > 1 && (static_cast<unsigned char>(text[taken]) & 0xC0) == 0x80) --taken;
        int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(taken), piece, PIECE);
        if (length == 0) return Failed();
        for (const wchar_t* from = piece; length > 0;) {
            DWORD written = 0;
            if (!WriteConsoleW(stream, from, static_cast<DWORD>(length), &written, nullptr) || written == 0) return Failed();
            from += written;
            length -= static_cast<int>(written);
        }
        text += taken;
        size -= taken;
    }
    return true;
}

}  // namespace

DegreeEncoding ChooseEncoding(DegreeEncoding asked)
{
    // A console takes the text as UTF-16, converted from UTF-8 on the way.
    if (IsConsole(GetStdHandle(STD_OUTPUT_HANDLE))) return DEGREE_UTF8;
    return asked != DEGREE_UNSET ? asked : DEGREE_UTF8;
}

long ReadInput(char* buffer, size_t size)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD got = 0;
    if (!ReadFile(input, buffer, size < INT_MAX ? static_cast<DWORD>(size) : INT_MAX, &got, nullptr)) {
        if (GetLastError() == ERROR_BROKEN_PIPE) return 0;  // the writer is done: the end of the input
        Failed();
        return -1;
    }
    // A console reads a line at a time; Ctrl+Z at the start of one ends the input, as everywhere on Windows.
    if (got > 0 && buffer[0] == '\x1A' && IsConsole(input)) return 0;
    return static_cast<long>(got);
}

bool WriteOutput(bool toError, const char* text, size_t size)
{
    HANDLE stream = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    return IsConsole(stream) ? WriteConsoleText(stream, text, size) : WriteBytes(stream, text, size);
}

const char* FailureText()
{
    static wchar_t wide[512];
    static char text[3 * 512];
    if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, LastFailure, 0, wide, 512,
                       nullptr) == 0 ||
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr) == 0) {
        std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(LastFailure));
    }
    return TrimSpace(text);  // system texts end in a line break, which the message has of its own
}
