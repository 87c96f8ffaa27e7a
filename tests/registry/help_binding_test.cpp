// Where the help binding finds the HTML Help control: the registered path, read from a test copy
// of the class key under HKEY_CURRENT_USER, and the system folder's hhctrl.ocx.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "help.h"

namespace {

const char TEST_ROOT[] = "Software\\OstrelTest";
const char CLASSES[] = "Software\\OstrelTest\\Classes";
const char SERVER[] =
    "Software\\OstrelTest\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct PathCase {
    const char* what;
    bool createKey;
    bool setValue;
    DWORD type;
    std::vector<uint8_t> data;
    const char* expected;  // nullptr: nothing usable
};

TEST(HelpBinding, RegisteredPathIsUsedOnlyWhenItFitsWithItsTerminator)
{
    const std::string fits(MAX_PATH - 1, 'a');
    const PathCase cases[] = {
        {"a terminated path", true, true, REG_SZ, Bytes(std::string("C:\\x\\hh.ocx") + '\0'),
         "C:\\x\\hh.ocx"},
        {"not expanded", true, true, REG_EXPAND_SZ, Bytes(std::string("%WINDIR%\\h.ocx") + '\0'),
         "%WINDIR%\\h.ocx"},
        {"one byte short of the buffer, unterminated", true, true, REG_BINARY, Bytes(fits),
         fits.c_str()},
        {"filling the buffer, unterminated", true, true, REG_BINARY, Bytes(fits + "b"), nullptr},
        {"longer than the buffer", true, true, REG_SZ, Bytes(std::string(400, 'c') + '\0'),
         nullptr},
        {"an empty text", true, true, REG_SZ, {0}, nullptr},
        {"a key without its value", true, false, REG_SZ, {}, nullptr},
        {"no key", false, false, REG_SZ, {}, nullptr},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
        HKEY classes;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, CLASSES, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &classes, nullptr),
                  ERROR_SUCCESS);
        if (c.createKey) {
            HKEY server;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SERVER, 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &server, nullptr),
                      ERROR_SUCCESS);
            LONG code = c.setValue ? RegSetValueExA(server, nullptr, 0, c.type, c.data.data(),
                                                    static_cast<DWORD>(c.data.size()))
                                   : ERROR_SUCCESS;
            RegCloseKey(server);
            ASSERT_EQ(code, ERROR_SUCCESS);
        }
        char path[MAX_PATH];
        const char* result = RegisteredHelpControl(classes, path);
        RegCloseKey(classes);
        if (c.expected) {
            ASSERT_EQ(result, path);
            EXPECT_STREQ(result, c.expected);
        } else {
            EXPECT_EQ(result, nullptr);
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
}

TEST(HelpBinding, FallbackNamesTheControlInTheSystemFolder)
{
    char path[MAX_PATH];
    ASSERT_EQ(SystemHelpControl(path), path);
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(std::string(path), std::string(system, length) + "\\hhctrl.ocx");
    EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
