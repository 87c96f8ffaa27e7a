// The registry store and the help control lookup against Wine's real registry, on test keys under
// HKEY_CURRENT_USER. Plain reads and writes of the window position run end to end.
#include "help.h"
#include "registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const char TEST_ROOT[] = "Software\\OstrelTest";
const char TEST_KEY[] = "Software\\OstrelTest\\Registry";
const char MISSING_KEY[] = "Software\\OstrelTest\\Registry\\Missing";

struct Stored {
    std::string name;  // empty: the key's default value
    DWORD type;
    std::string data;
};

// Creates the key afresh, with these values stored byte for byte; returns it open.
HKEY FreshKey(const char* path, const std::vector<Stored>& values)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (const Stored& v : values)
        RegSetValueExA(key, v.name.empty() ? nullptr : v.name.c_str(), 0, v.type,
                       reinterpret_cast<const BYTE*>(v.data.data()), DWORD(v.data.size()));
    return key;
}

const std::string Nine("\x09\0\0\0", 4);

const struct {
    const char* what;
    std::vector<Stored> stored;
    bool found;  // the value 9
} ReadCases[] = {
    {"after values too big to enumerate",
     {{"big", REG_BINARY, std::string(64, 'b')}, {std::string(200, 'n'), REG_DWORD, Nine}, {"wxpos", REG_DWORD, Nine}},
     true},
    {"the type is not examined", {{"wxpos", REG_BINARY, Nine}}, true},
    {"another letter case", {{"WXPOS", REG_DWORD, Nine}}, false},
    {"a longer name", {{"wxposition", REG_DWORD, Nine}}, false},
    {"8 bytes for 4", {{"wxpos", REG_QWORD, Nine + Nine}}, false},
    {"2 bytes for 4", {{"wxpos", REG_BINARY, Nine.substr(0, 2)}}, false},
    {"a key without values", {}, false},
};

std::vector<std::string> Reports;
int Record(const char* text)
{
    Reports.emplace_back(text);
    return 0;
}

TEST(RegistryStore, ReadFindsOnlyAnExactNameOfExactlyTheAskedSize)
{
    for (const auto& c : ReadCases) {
        RegCloseKey(FreshKey(TEST_KEY, c.stored));
        Reports.clear();
        uint32_t value = 0;
        EXPECT_EQ(RegReadValue(TEST_KEY, "wxpos", &value, sizeof value, Record), c.found ? &value : nullptr) << c.what;
        if (c.found) {
            EXPECT_EQ(value, 9u) << c.what;
        }
        EXPECT_TRUE(Reports.empty()) << c.what;
    }
}

std::string SystemText(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    return text;
}

// Three different routines, one failure each: each reports once, a missing key with its system text.
TEST(RegistryStore, FailuresReturnTheirCodeAndAreReported)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
    Reports.clear();
    int32_t value = 300;
    EXPECT_EQ(RegEnsureKey((std::string(TEST_KEY) + "\\" + std::string(300, 'k')).c_str(), Record), 1);
    EXPECT_EQ(RegWriteValue(MISSING_KEY, "wxpos", REG_DWORD, &value, sizeof value, Record), 2);
    EXPECT_EQ(RegReadValue(MISSING_KEY, "wxpos", &value, sizeof value, Record), nullptr);
    ASSERT_EQ(Reports.size(), 3u);
    EXPECT_EQ(Reports[1], SystemText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Reports[2], SystemText(ERROR_FILE_NOT_FOUND));
}

const std::string Fits(MAX_PATH - 1, 'a');

const struct {
    const char* what;
    std::vector<Stored> stored;  // the control's default value
    const char* expected;        // nullptr: nothing usable
} PathCases[] = {
    {"a terminated path", {{"", REG_SZ, std::string("C:\\x\\hh.ocx", 12)}}, "C:\\x\\hh.ocx"},
    {"one byte short of the buffer, unterminated", {{"", REG_BINARY, Fits}}, Fits.c_str()},
    {"filling the buffer, unterminated", {{"", REG_BINARY, Fits + "b"}}, nullptr},
    {"longer than the buffer", {{"", REG_SZ, std::string(400, 'c') + '\0'}}, nullptr},
    {"an empty text", {{"", REG_SZ, std::string(1, '\0')}}, nullptr},
    {"a key without its value", {}, nullptr},
};

TEST(HelpControl, RegisteredPathIsUsedOnlyWhenItFitsWithItsTerminator)
{
    for (const auto& c : PathCases) {
        RegCloseKey(FreshKey("Software\\OstrelTest\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32",
                             c.stored));
        HKEY classes;
        RegOpenKeyExA(HKEY_CURRENT_USER, TEST_ROOT, 0, KEY_READ, &classes);
        char path[MAX_PATH];
        const char* result = RegisteredHelpControl(classes, path);
        RegCloseKey(classes);
        EXPECT_EQ(result, c.expected ? path : nullptr) << c.what;
        if (c.expected && result) {
            EXPECT_STREQ(result, c.expected) << c.what;
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
}

TEST(HelpControl, FallbackNamesTheControlInTheSystemFolder)
{
    char path[MAX_PATH];
    ASSERT_EQ(SystemHelpControl(path), path);
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(std::string(path), std::string(system, length) + "\\hhctrl.ocx");
    EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
