// ostrel-convert's arguments and standard streams on Windows. The arguments are read in UTF-16,
// and so is a console, which is written in it too and so shows every character whatever its code
// page. A pipe from a process with a console gets that console's code page, which PowerShell and
// cmd decode what they capture with; files, and pipes without a console, get UTF-8 unless Latin-1
// is asked for. Lines end in CR LF, as Windows text files do.
#include "streams.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text.h"
#include "unicode.h"

const char ENCODING_HELP[] =
    "TEXT is read as Unicode, and so is what is typed into a console window. Standard input from\n"
    "a file or a pipe is read as UTF-8 where it is well-formed UTF-8, and otherwise in the\n"
    "console's code page (as cmd's echo and type write it), or without a console in the system's\n"
    "ANSI code page; --encoding=utf-8 or --encoding=latin1 chooses instead. Input that begins\n"
    "with a byte order mark is read as it says: UTF-8, or UTF-16 (FF FE or FE FF, as PowerShell\n"
    "5.1's > writes files).\n"
    "The degree sign of temperatures reads right wherever the output goes. In a console window\n"
    "it is written as Unicode text, whatever the console's code page. Into a pipe, from a\n"
    "command prompt or PowerShell, it is written in the console's code page, with which they\n"
    "read what they capture (for /f, $t = ostrel-convert 100 c). Written to a file, or to a pipe\n"
    "without a console, it is UTF-8, as Notepad, PowerShell 7 and today's tools read it.\n"
    "--encoding=utf-8, or --encoding=latin1 for the single byte 0xB0 (Latin-1 and Windows-1252),\n"
    "chooses for files and pipes instead. The names may be written in any letter case, with or\n"
    "without the hyphen. Lines end in CR LF.\n";

namespace {

DWORD LastFailure;

// What the streams are cut into: the console's own limits on one write are far larger.
constexpr size_t PIECE = 8192;

// A console read asks for at most 8 KiB: Windows Vista and 7 serve it from a 64 KB heap that the
// whole process shares, and a larger read fails there for want of storage.
constexpr DWORD CONSOLE_READ_UNITS = 8192 / sizeof(wchar_t);

// A write that succeeds with nothing written (a full non-blocking pipe) is tried again a moment
// later, up to this many times in a row, about two seconds, before it counts as failed.
constexpr int IDLE_WRITES_MAX = 200;
constexpr DWORD IDLE_WRITE_PAUSE_MS = 10;

// Where an answer's text goes: a console, written as UTF-16, or bytes in a code page (CP_UTF8:
// the UTF-8 as it is).
struct Destination {
    bool console;
    UINT codePage;
};

// Whether --encoding named standard output's encoding, which a pipe then gets whatever the console.
bool OutputEncodingAsked = false;

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

// Whether to go on after a write that succeeded having written the given count.
bool Progressed(DWORD written, int* idleWrites)
{
    if (written > 0) {
        *idleWrites = 0;
        return true;
    }
    if (++*idleWrites > IDLE_WRITES_MAX) {
        LastFailure = ERROR_WRITE_FAULT;
        return false;
    }
    Sleep(IDLE_WRITE_PAUSE_MS);
    return true;
}

bool WriteAll(HANDLE stream, const char* bytes, size_t size)
{
    for (int idle = 0; size > 0;) {
        DWORD written = 0;
        if (!WriteFile(stream, bytes, static_cast<DWORD>(size), &written, nullptr)) return Failed();
        if (!Progressed(written, &idle)) return false;
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

bool WriteToConsole(HANDLE stream, const wchar_t* text, DWORD length)
{
    for (int idle = 0; length > 0;) {
        DWORD written = 0;
        if (!WriteConsoleW(stream, text, length, &written, nullptr)) return Failed();
        if (!Progressed(written, &idle)) return false;
        text += written;
        length -= written;
    }
    return true;
}

bool WriteInCodePage(HANDLE stream, const wchar_t* text, int length, UINT codePage)
{
    static char bytes[4 * PIECE];  // four bytes a character at most, in any code page
    const int converted = WideCharToMultiByte(codePage, 0, text, length, bytes, sizeof bytes, nullptr, nullptr);
    return converted != 0 ? WriteBytes(stream, bytes, static_cast<size_t>(converted)) : Failed();
}

// UTF-8 in pieces that end on a character's boundary, each taken to UTF-16 and written so.
bool WriteWide(HANDLE stream, const char* text, size_t size, Destination to)
{
    static wchar_t wide[PIECE];
    while (size > 0) {
        size_t taken = size < PIECE ? size : PIECE;
        while (taken < size && taken > 1 && (static_cast<unsigned char>(text[taken]) & 0xC0) == 0x80) --taken;
        const int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(taken), wide, PIECE);
        if (length == 0) return Failed();
        if (!(to.console ? WriteToConsole(stream, wide, static_cast<DWORD>(length)) : WriteInCodePage(stream, wide, length, to.codePage)))
            return false;
        text += taken;
        size -= taken;
    }
    return true;
}

// Where text of UTF-8 goes: a console; a pipe that a process with a console reads, in that
// console's code page; anything else, or an encoding asked for, as the bytes they are.
Destination DestinationOf(HANDLE stream, bool encodingAsked)
{
    if (IsConsole(stream)) return {true, 0};
    if (encodingAsked || GetFileType(stream) != FILE_TYPE_PIPE) return {false, CP_UTF8};
    const UINT console = GetConsoleOutputCP();  // 0 without a console
    return {false, console != 0 ? console : CP_UTF8};
}

// A console is read as UTF-16, a line at a time and at most CONSOLE_READ_UNITS of it, and handed
// on as UTF-8; what the caller's buffer cannot take waits for the next call. Ctrl+Z at the start
// of a line ends the input, as everywhere on Windows.
long ReadConsoleText(HANDLE input, char* buffer, size_t size)
{
    static wchar_t wide[CONSOLE_READ_UNITS];
    static char text[3 * CONSOLE_READ_UNITS];
    static size_t start = 0;  // what of text is yet to be handed on
    static size_t end = 0;
    static DWORD carried = 0;  // a high surrogate kept for its pair, which the next read brings
    static bool lineStart = true;
    while (start == end) {
        DWORD got = 0;
        if (!ReadConsoleW(input, wide + carried, CONSOLE_READ_UNITS - carried, &got, nullptr)) {
            Failed();
            return -1;
        }
        if (got == 0 || (lineStart && carried == 0 && wide[0] == 0x1A)) return 0;
        got += carried;
        carried = IS_HIGH_SURROGATE(wide[got - 1]) ? 1 : 0;
        lineStart = wide[got - 1] == L'\n';
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(got - carried), text,
                                               sizeof text, nullptr, nullptr);
        if (length == 0 && got > carried) {
            Failed();
            return -1;
        }
        wide[0] = wide[got - 1];
        start = 0;
        end = static_cast<size_t>(length);
    }
    const size_t count = size < end - start ? size : end - start;
    std::memcpy(buffer, text + start, count);
    start += count;
    return static_cast<long>(count);
}

}  // namespace

// The command line read as UTF-16, so that no word passes through the ANSI code page, and handed
// on in UTF-8.
extern "C" int wmain(int count, wchar_t** wide)
{
    char** words = static_cast<char**>(std::calloc(static_cast<size_t>(count) + 1, sizeof(char*)));
    for (int i = 0; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        char* word = words != nullptr && size > 0 ? static_cast<char*>(std::malloc(static_cast<size_t>(size))) : nullptr;
        if (word == nullptr || WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, word, size, nullptr, nullptr) == 0) {
            const char message[] = "ostrel-convert: out of memory\n";
            WriteOutput(true, message, sizeof message - 1);
            return 2;
        }
        words[i] = word;
    }
    return RunConverter(count, words);
}

TextEncoding ChooseEncoding(TextStream stream, TextEncoding asked)
{
    // Consoles are read and written in UTF-16, taken to and from UTF-8 on the way, as are pipes
    // written in a console's code page.
    if (stream == ARGUMENTS) return ENCODING_UTF8;
    if (stream == STANDARD_OUTPUT) OutputEncodingAsked = asked != ENCODING_AUTO;
    if (IsConsole(GetStdHandle(stream == STANDARD_INPUT ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE))) return ENCODING_UTF8;
    return stream == STANDARD_OUTPUT && asked == ENCODING_AUTO ? ENCODING_UTF8 : asked;
}

bool MapSystemText(const char* text, size_t length, char* out, size_t size)
{
    // cmd's echo and type hand a pipe bytes in the console's code page; without a console, a
    // program's are in the system's ANSI one. A code page has at most one UTF-16 unit a byte.
    static wchar_t* wide = nullptr;
    static size_t capacity = 0;
    if (length > static_cast<size_t>(INT_MAX)) return false;
    if (length > capacity) {
        auto* larger = static_cast<wchar_t*>(std::realloc(wide, length * sizeof *wide));
        if (larger == nullptr) return false;
        wide = larger;
        capacity = length;
    }
    const UINT console = GetConsoleCP();  // 0 without a console
    const int units = MultiByteToWideChar(console != 0 ? console : CP_ACP, 0, text, static_cast<int>(length), wide,
                                          static_cast<int>(capacity));
    MapUtf16(reinterpret_cast<const char16_t*>(wide), static_cast<size_t>(units), out, size);
    return true;
}

long ReadInput(char* buffer, size_t size)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (IsConsole(input)) return ReadConsoleText(input, buffer, size);
    DWORD got = 0;
    if (!ReadFile(input, buffer, size < INT_MAX ? static_cast<DWORD>(size) : INT_MAX, &got, nullptr)) {
        if (GetLastError() == ERROR_BROKEN_PIPE) return 0;  // the writer is done: the end of the input
        Failed();
        return -1;
    }
    return static_cast<long>(got);
}

bool WriteOutput(bool toError, const char* text, size_t size)
{
    HANDLE stream = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    // Messages are text, not answers: --encoding leaves them as the stream's own rule has them.
    const Destination to = DestinationOf(stream, !toError && OutputEncodingAsked);
    return !to.console && to.codePage == CP_UTF8 ? WriteBytes(stream, text, size) : WriteWide(stream, text, size, to);
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
