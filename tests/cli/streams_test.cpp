// How ostrel-convert.exe's streams meet real handles, tried in-process under Wine: where the output
// goes (a file, a pipe, consoles of several code pages) decides how the degree sign is written; a
// console is read as Unicode in pieces; a pipe that takes nothing is waited on for a while only.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "streams.h"

// Not under test here, but named by windows.cpp's entry point.
int RunConverter(int, char**) { return 0; }

namespace {

// One console of the test's own for all tests: under Wine, a second one takes the test's output.
bool OwnConsole()
{
    static const bool made = (FreeConsole(), AllocConsole() != FALSE);
    return made;
}

TEST(Streams, FilesAndPipesGetTheAskedEncodingOrTheConsolesConsolesShowTheDegreeSignWhateverTheirCodePage)
{
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE file = CreateFileA("streams_test.out", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    HANDLE reader, pipe;
    ASSERT_TRUE(CreatePipe(&reader, &pipe, nullptr, 0));
    ASSERT_TRUE(OwnConsole());
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);

    // A pipe is read as this process's console would show it (PowerShell's and cmd's capture); a
    // file, and an encoding asked for, stay as chosen.
    const struct { HANDLE output; UINT codePage; TextEncoding asked; const char* written; } outputs[] = {
        {file, 850, ENCODING_AUTO, "212\xC2\xB0 F\r\n"}, {file, 850, ENCODING_LATIN1, "212\xB0 F\r\n"},
        {pipe, 850, ENCODING_AUTO, "212\xF8 F\r\n"}, {pipe, 932, ENCODING_AUTO, "212\x81\x8B F\r\n"},
        {pipe, 65001, ENCODING_AUTO, "212\xC2\xB0 F\r\n"}, {pipe, 850, ENCODING_UTF8, "212\xC2\xB0 F\r\n"},
        {pipe, 850, ENCODING_LATIN1, "212\xB0 F\r\n"},
    };
    for (const auto& row : outputs) {
        ASSERT_TRUE(SetConsoleOutputCP(row.codePage));
        SetStdHandle(STD_OUTPUT_HANDLE, row.output);
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        const bool utf8 = ChooseEncoding(STANDARD_OUTPUT, row.asked) == ENCODING_UTF8;
        EXPECT_TRUE(utf8 ? WriteOutput(false, "212\xC2\xB0 F\n", 8) : WriteOutput(false, "212\xB0 F\n", 7));
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        char bytes[16] = {};
        DWORD got = 0;
        ReadFile(row.output == file ? file : reader, bytes, sizeof bytes - 1, &got, nullptr);
        EXPECT_STREQ(bytes, row.written) << row.codePage << (row.output == file ? " file" : " pipe") << " asked " << row.asked;
    }

    SetStdHandle(STD_OUTPUT_HANDLE, console);
    EXPECT_EQ(ChooseEncoding(STANDARD_OUTPUT, ENCODING_LATIN1), ENCODING_UTF8);
    for (UINT codePage : {437U, 850U, 932U, 65001U}) {
        ASSERT_TRUE(SetConsoleOutputCP(codePage));
        SetConsoleCursorPosition(console, {0, 0});
        ASSERT_TRUE(WriteOutput(false, "212\xC2\xB0 F\n", 8));
        wchar_t shown[7] = {};
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console, shown, 6, {0, 0}, &read);
        EXPECT_EQ(std::wstring(shown), L"212\u00b0 F") << codePage;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
}

// Typed into a console: a line longer than one read, and characters beyond any code page; what
// is not a console, in the console's code page where it is not UTF-8.
TEST(Streams, AConsoleIsReadAsUnicodeInPiecesOfAtMost8KiBAndPipesInItsCodePage)
{
    const HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
    ASSERT_TRUE(OwnConsole());
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    std::basic_string<INPUT_RECORD> keys;
    for (wchar_t typed : std::wstring(10000, L'5') + L" ft \u2153\u00bd\U0001F4CF\r") {
        keys += INPUT_RECORD{KEY_EVENT, {}};
        keys.back().Event.KeyEvent = {TRUE, 1, static_cast<WORD>(typed == L'\r' ? VK_RETURN : 0), 0, {typed}, 0};
    }
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(console, keys.data(), static_cast<DWORD>(keys.size()), &written));
    SetStdHandle(STD_INPUT_HANDLE, console);
    EXPECT_EQ(ChooseEncoding(STANDARD_INPUT, ENCODING_LATIN1), ENCODING_UTF8);

    std::string read;
    static char buffer[1 << 16];
    for (long got; (read.empty() || read.back() != '\n') && (got = ReadInput(buffer, sizeof buffer)) > 0;) {
        EXPECT_LE(got, 4096) << "characters of UTF-16 in one console read, at most 8 KiB";  // all ASCII but the last piece
        read.append(buffer, static_cast<size_t>(got));
    }
    EXPECT_EQ(read, std::string(10000, '5') + " ft \xE2\x85\x93\xC2\xBD\xF0\x9F\x93\x8F\r\n");
    SetStdHandle(STD_INPUT_HANDLE, saved);
    // A pipe from cmd's echo or type brings bytes in the console's input code page, not UTF-8.
    const struct { UINT codePage; const char* bytes; } rows[] = {{850, "100 \xF8" "C"}, {932, "100 \x81\x8B" "C"}, {1252, "100 \xB0" "C"}};
    for (const auto& row : rows) {
        ASSERT_TRUE(SetConsoleCP(row.codePage));
        char mapped[16] = {};
        ASSERT_TRUE(MapSystemText(row.bytes, std::strlen(row.bytes), mapped, sizeof mapped));
        EXPECT_STREQ(mapped, "100 \xB0" "C") << row.codePage;
    }
}

DWORD WINAPI WriteMuch(void* done)
{
    static const std::string text(100000, 'x');
    *static_cast<bool*>(done) = WriteOutput(false, text.data(), text.size());
    return 0;
}

// A non-blocking pipe whose buffer is full takes nothing and says it succeeded: written on once
// its reader drains it, a failure when nothing does, never a wait without end.
TEST(Streams, AWriteThatTakesNothingIsTriedAgainForAWhileThenFails)
{
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    for (const bool drained : {true, false}) {
        const char name[] = "\\\\.\\pipe\\ostrel-streams-test";
        HANDLE pipe = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 65536, 65536, 0, nullptr);
        HANDLE reader = CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetStdHandle(STD_OUTPUT_HANDLE, pipe);
        ChooseEncoding(STANDARD_OUTPUT, ENCODING_UTF8);
        bool done = !drained;
        HANDLE writer = CreateThread(nullptr, 0, WriteMuch, &done, 0, nullptr);
        static char bytes[100000];
        DWORD got = 0;
        Sleep(300);
        for (DWORD total = 0; drained && total < sizeof bytes && ReadFile(reader, bytes, sizeof bytes, &got, nullptr);) total += got;
        ASSERT_EQ(WaitForSingleObject(writer, 20000), WAIT_OBJECT_0) << "still writing after 20 s";
        EXPECT_EQ(done, drained);
        CloseHandle(reader);
        CloseHandle(pipe);
    }
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
}

}  // namespace
