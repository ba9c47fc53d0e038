#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "install/shell_helpers.h"
#include "tests/win/test_registry.h"

namespace {

const wchar_t* const TestKey = L"Software\\VelkarisInstallTests";

std::vector<uint8_t> bytesOf(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    return {bytes, bytes + size};
}

class UserValue : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, TestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, TestKey); }
};

}  // namespace

TEST_F(UserValue, NamedStringCreatesTheWholeKeyPath) {
    const std::wstring key = std::wstring(TestKey) + L"\\Deep\\Er";
    const wchar_t text[] = L"C:\\Apps\\Velkaris\\";
    EXPECT_EQ(writeUserValue(key.c_str(), L"AppPath", REG_SZ, text, sizeof text), 1u);
    const StoredValue stored = readValue(key, L"AppPath");
    ASSERT_EQ(stored.status, ERROR_SUCCESS);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.data, bytesOf(text, sizeof text));
}

TEST_F(UserValue, NoNameSetsTheDefaultValue) {
    const wchar_t text[] = L"Notarel.Document";
    EXPECT_EQ(writeUserValue(TestKey, nullptr, REG_SZ, text, sizeof text), 1u);
    const StoredValue stored = readValue(TestKey, nullptr);
    ASSERT_EQ(stored.status, ERROR_SUCCESS);
    EXPECT_EQ(stored.data, bytesOf(text, sizeof text));
}

TEST_F(UserValue, NumberIsStoredAsFourLittleEndianBytes) {
    const DWORD number = 1464;
    EXPECT_EQ(writeUserValue(TestKey, L"EstimatedSize", REG_DWORD, &number, 4), 1u);
    const StoredValue stored = readValue(TestKey, L"EstimatedSize");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored.data, (std::vector<uint8_t>{0xB8, 0x05, 0, 0}));
}

TEST_F(UserValue, KeyThatCannotBeCreatedGivesZeroAndWritesNothing) {
    const wchar_t text[] = L"x";
    EXPECT_EQ(writeUserValue(nullptr, L"v", REG_SZ, text, sizeof text), 0u);
    // A key name longer than the registry's 255 characters.
    const std::wstring tooLong = std::wstring(TestKey) + L"\\" + std::wstring(300, L'k');
    EXPECT_EQ(writeUserValue(tooLong.c_str(), L"v", REG_SZ, text, sizeof text), 0u);
    EXPECT_FALSE(keyExists(tooLong));
    // A lasting key below a volatile one.
    const std::wstring volatilePath = std::wstring(TestKey) + L"\\Volatile";
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, volatilePath.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    const std::wstring child = volatilePath + L"\\Lasting";
    EXPECT_EQ(writeUserValue(child.c_str(), L"v", REG_SZ, text, sizeof text), 0u);
    EXPECT_FALSE(keyExists(child));
}

TEST_F(UserValue, ValueThatCannotBeSetGivesZeroAndKeepsTheKey) {
    // Data that cannot be read: the key is made, the value is not, and nothing is undone.
    EXPECT_EQ(writeUserValue(TestKey, L"v", REG_SZ, nullptr, 8), 0u);
    EXPECT_TRUE(keyExists(TestKey));
    EXPECT_NE(readValue(TestKey, L"v").status, ERROR_SUCCESS);
}
