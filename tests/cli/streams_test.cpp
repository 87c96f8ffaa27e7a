// How ostrel-convert.exe's streams meet real handles, tried in-process under Wine: where the output
// goes (a file, a pipe, consoles of several code pages) decides how the degree sign is written; a
// console is read in pieces; a pipe that takes nothing is waited on for a while, not forever.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "streams.h"

namespace {

// What a file or a pipe holds after the output's next write.
std::string WrittenTo(HANDLE output, HANDLE reader, const char* text, size_t size)
{
    if (reader == output) {
        SetFilePointer(output, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(output);
    }
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    if (!WriteOutput(false, text, size)) return "(failed)";
    if (reader == output) SetFilePointer(output, 0, nullptr, FILE_BEGIN);
    char bytes[64] = {};
    DWORD got = 0;
    ReadFile(reader, bytes, sizeof bytes, &got, nullptr);
    return std::string(bytes, got);
}

TEST(Streams, FilesAndPipesGetTheAskedEncodingConsolesShowTheDegreeSignWhateverTheirCodePage)
{
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE file = CreateFileA("streams_test.out", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    HANDLE reader, pipe;
    ASSERT_TRUE(CreatePipe(&reader, &pipe, nullptr, 0));
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);

    const struct { HANDLE output; DegreeEncoding asked, chosen; } choices[] = {
        {file, DEGREE_UNSET, DEGREE_UTF8}, {file, DEGREE_LATIN1, DEGREE_LATIN1}, {pipe, DEGREE_UNSET, DEGREE_UTF8},
        {pipe, DEGREE_LATIN1, DEGREE_LATIN1}, {pipe, DEGREE_UTF8, DEGREE_UTF8}, {console, DEGREE_LATIN1, DEGREE_UTF8},
        {console, DEGREE_UNSET, DEGREE_UTF8},
    };
    for (const auto& row : choices) {
        SetStdHandle(STD_OUTPUT_HANDLE, row.output);
        EXPECT_EQ(ChooseEncoding(row.asked), row.chosen) << (row.output == console ? "console" : "file or pipe");
    }

    const char line[] = "212\xC2\xB0 F\n";
    for (UINT codePage : {437U, 850U, 932U, 65001U}) {
        ASSERT_TRUE(SetConsoleOutputCP(codePage));
        SetConsoleCursorPosition(console, {0, 0});
        SetStdHandle(STD_OUTPUT_HANDLE, console);
        ASSERT_TRUE(WriteOutput(false, line, sizeof line - 1));
        wchar_t shown[7] = {};
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console, shown, 6, {0, 0}, &read);
        EXPECT_EQ(std::wstring(shown), L"212\u00b0 F") << codePage;
    }

    // A pipe is read by what this process's console would show (PowerShell's and cmd's capture);
    // a file, and an encoding asked for, stay as chosen.
    const char latin1[] = "212\xB0 F\n";
    const struct { HANDLE output, reader; UINT codePage; DegreeEncoding asked; const char* expected; } bytes[] = {
        {pipe, reader, 850, DEGREE_UNSET, "212\xF8 F\r\n"}, {pipe, reader, 932, DEGREE_UNSET, "212\x81\x8B F\r\n"},
        {pipe, reader, 65001, DEGREE_UNSET, "212\xC2\xB0 F\r\n"}, {pipe, reader, 850, DEGREE_UTF8, "212\xC2\xB0 F\r\n"},
        {pipe, reader, 850, DEGREE_LATIN1, "212\xB0 F\r\n"}, {file, file, 850, DEGREE_UNSET, "212\xC2\xB0 F\r\n"},
    };
    for (const auto& row : bytes) {
        ASSERT_TRUE(SetConsoleOutputCP(row.codePage));
        SetStdHandle(STD_OUTPUT_HANDLE, row.output);
        const bool utf8 = ChooseEncoding(row.asked) == DEGREE_UTF8;
        EXPECT_EQ(WrittenTo(row.output, row.reader, utf8 ? line : latin1, utf8 ? sizeof line - 1 : sizeof latin1 - 1),
                  row.expected) << row.codePage << (row.output == file ? " file" : " pipe") << " asked " << row.asked;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
}

// Typed into a console: a line longer than one read, and characters beyond any code page.
TEST(Streams, AConsoleIsReadAsUnicodeInPiecesOfAtMost8KiB)
{
    const HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::wstring typed = std::wstring(10000, L'5') + L" ft \u2153\u00bd\U0001F4CF\r";
    std::string expected = std::string(10000, '5') + " ft \xE2\x85\x93\xC2\xBD\xF0\x9F\x93\x8F\r\n";
    std::basic_string<INPUT_RECORD> keys;
    for (wchar_t character : typed) {
        INPUT_RECORD key = {};
        key.EventType = KEY_EVENT;
        key.Event.KeyEvent.bKeyDown = TRUE;
        key.Event.KeyEvent.wRepeatCount = 1;
        key.Event.KeyEvent.wVirtualKeyCode = character == L'\r' ? VK_RETURN : 0;
        key.Event.KeyEvent.uChar.UnicodeChar = character;
        keys += key;
    }
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(console, keys.data(), static_cast<DWORD>(keys.size()), &written));
    SetStdHandle(STD_INPUT_HANDLE, console);

    std::string read;
    static char buffer[1 << 16];
    for (long got; (read.empty() || read.back() != '\n') && (got = ReadInput(buffer, sizeof buffer)) > 0;) {
        EXPECT_LE(got, 4096) << "characters of UTF-16 in one console read, at most 8 KiB";  // all ASCII but the last piece
        read.append(buffer, static_cast<size_t>(got));
    }
    EXPECT_EQ(read, expected);
    SetStdHandle(STD_INPUT_HANDLE, saved);
}

HANDLE StalledPipe;
bool StalledWriteDone;

DWORD WINAPI WriteToStalledPipe(void*)
{
    static const std::string text(100000, 'x');
    SetStdHandle(STD_OUTPUT_HANDLE, StalledPipe);
    StalledWriteDone = WriteOutput(false, text.data(), text.size());
    return 0;
}

DWORD WINAPI DrainLater(void* reader)
{
    Sleep(300);
    static char bytes[1 << 16];
    DWORD got = 0;
    for (DWORD total = 0; total < 100000 && ReadFile(reader, bytes, sizeof bytes, &got, nullptr);) total += got;
    return 0;
}

// A non-blocking pipe whose buffer is full takes nothing and says it succeeded: written on once
// its reader drains it, a failure when nothing does, never a wait without end.
TEST(Streams, AWriteThatTakesNothingIsTriedAgainForAWhileThenFails)
{
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    ChooseEncoding(DEGREE_UTF8);
    for (const bool drained : {true, false}) {
        const char name[] = "\\\\.\\pipe\\ostrel-streams-test";
        StalledPipe = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 65536, 65536, 0, nullptr);
        HANDLE reader = CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        HANDLE drainer = drained ? CreateThread(nullptr, 0, DrainLater, reader, 0, nullptr) : nullptr;
        HANDLE writer = CreateThread(nullptr, 0, WriteToStalledPipe, nullptr, 0, nullptr);
        ASSERT_EQ(WaitForSingleObject(writer, 20000), WAIT_OBJECT_0) << "still writing after 20 s";
        EXPECT_EQ(StalledWriteDone, drained);
        if (drainer != nullptr) WaitForSingleObject(drainer, 20000);
        CloseHandle(reader);
        CloseHandle(StalledPipe);
    }
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
}

}  // namespace
