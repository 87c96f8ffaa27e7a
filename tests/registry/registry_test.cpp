// The registry settings store against Wine's real registry, on a test key of its own under
// HKEY_CURRENT_USER (never the program's state key), with a reporter that records what it is told.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "registry.h"

namespace {

const char TEST_ROOT[] = "Software\\OstrelTest";
const char TEST_KEY[] = "Software\\OstrelTest\\Registry";
const char MISSING_KEY[] = "Software\\OstrelTest\\Registry\\Missing";

std::vector<std::string> Reports;

int Record(const char* text)
{
    Reports.emplace_back(text);
    return 0;
}

std::string SystemText(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    return text;
}

struct StoredValue {
    const char* name;
    DWORD type;
    std::vector<uint8_t> data;
};

class Registry : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
        Reports.clear();
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT); }

    static void Store(const std::vector<StoredValue>& values)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, TEST_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        for (const StoredValue& value : values)
            ASSERT_EQ(RegSetValueExA(key, value.name, 0, value.type, value.data.data(),
                                     static_cast<DWORD>(value.data.size())),
                      ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

std::vector<uint8_t> Dword(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

TEST_F(Registry, EnsureKeyCreatesAMissingKeyAndAcceptsAnExistingOne)
{
    for (int round = 0; round < 2; round++) {
        EXPECT_EQ(RegEnsureKey(TEST_KEY, Record), 0) << "round " << round;
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, TEST_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
        DWORD values = 99;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        EXPECT_EQ(values, 0u);
    }
    EXPECT_TRUE(Reports.empty());
}

TEST_F(Registry, EnsureKeyReportsAPathTheSystemRefuses)
{
    std::string tooLong = std::string(TEST_KEY) + "\\" + std::string(300, 'k');
    EXPECT_EQ(RegEnsureKey(tooLong.c_str(), Record), 1);
    EXPECT_EQ(Reports.size(), 1u);
}

TEST_F(Registry, WriteStoresTypeAndBytesInAnExistingKey)
{
    ASSERT_EQ(RegEnsureKey(TEST_KEY, Record), 0);
    int32_t left = -20;
    EXPECT_EQ(RegWriteValue(TEST_KEY, "wxpos", REG_DWORD, &left, sizeof left, Record), 0);

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, TEST_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    uint8_t data[8];
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "wxpos", nullptr, &type, data, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 4), Dword(0xFFFFFFECu));
    EXPECT_TRUE(Reports.empty());
}

TEST_F(Registry, WriteToAMissingKeyReportsFileNotFound)
{
    int32_t left = 300;
    EXPECT_EQ(RegWriteValue(MISSING_KEY, "wxpos", REG_DWORD, &left, sizeof left, Record), 2);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0], SystemText(ERROR_FILE_NOT_FOUND));
    HKEY key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, MISSING_KEY, 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

struct ReadCase {
    const char* what;
    std::vector<StoredValue> stored;
    const char* name;
    bool found;
    uint32_t value;
};

TEST_F(Registry, ReadFindsOnlyAnExactNameOfExactlyTheAskedSize)
{
    const std::string longName(200, 'n');
    const ReadCase cases[] = {
        {"a 4-byte value", {{"wxpos", REG_DWORD, Dword(300)}}, "wxpos", true, 300},
        {"a negative position", {{"wxpos", REG_DWORD, Dword(0xFFFFFFECu)}}, "wxpos", true,
         0xFFFFFFECu},
        {"among other values",
         {{"wypos", REG_DWORD, Dword(7)}, {"wxpos", REG_DWORD, Dword(8)}, {"z", REG_SZ, {'z', 0}}},
         "wxpos", true, 8},
        {"after values too big to enumerate",
         {{"big", REG_BINARY, std::vector<uint8_t>(64, 1)},
          {longName.c_str(), REG_DWORD, Dword(1)},
          {"wxpos", REG_DWORD, Dword(9)}},
         "wxpos", true, 9},
        {"the type is not examined", {{"wxpos", REG_BINARY, Dword(11)}}, "wxpos", true, 11},
        {"another letter case", {{"WXPOS", REG_DWORD, Dword(300)}}, "wxpos", false, 0},
        {"a longer name", {{"wxposition", REG_DWORD, Dword(300)}}, "wxpos", false, 0},
        {"8 bytes for 4", {{"wxpos", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}}}, "wxpos", false, 0},
        {"2 bytes for 4", {{"wxpos", REG_BINARY, {0x2C, 0x01}}}, "wxpos", false, 0},
        {"no bytes for 4", {{"wxpos", REG_BINARY, {}}}, "wxpos", false, 0},
        {"a key without values", {}, "wxpos", false, 0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeA(HKEY_CURRENT_USER, TEST_ROOT);
        Reports.clear();
        Store(c.stored);
        uint32_t value = 0xA5A5A5A5u;
        void* result = RegReadValue(TEST_KEY, c.name, &value, sizeof value, Record);
        EXPECT_EQ(result, c.found ? &value : nullptr);
        if (c.found) {
            EXPECT_EQ(value, c.value);
        }
        EXPECT_TRUE(Reports.empty());
    }
}

TEST_F(Registry, ReadOfAMissingKeyReportsFileNotFound)
{
    uint32_t value = 0;
    EXPECT_EQ(RegReadValue(MISSING_KEY, "wxpos", &value, sizeof value, Record), nullptr);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0], SystemText(ERROR_FILE_NOT_FOUND));
}

}  // namespace
