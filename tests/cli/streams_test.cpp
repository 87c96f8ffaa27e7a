// Where ostrel-convert.exe's output goes decides how its degree sign is written: tried in-process
// under Wine on real handles, a file, a pipe and consoles of several code pages.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "streams.h"

namespace {

TEST(Streams, FilesAndPipesGetTheAskedEncodingConsolesShowTheDegreeSignWhateverTheirCodePage)
{
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE file = CreateFileA("streams_test.out", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
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
        ASSERT_TRUE(WriteOutput(false, line, sizeof line - 1));
        wchar_t shown[7] = {};
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console, shown, 6, {0, 0}, &read);
        EXPECT_EQ(std::wstring(shown), L"212\u00b0 F") << codePage;
    }

    SetStdHandle(STD_OUTPUT_HANDLE, saved);
}

}  // namespace
