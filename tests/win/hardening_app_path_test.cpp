// AppPath as a hostile or damaged registry could hold it: every value type, odd byte
// counts, values without terminator, multi-strings and unexpanded variables. The value's
// bytes are read raw into the zeroed installDir and taken only when they name an existing
// folder; anything else selects the first-run defaults.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/load_defaults.h"
#include "tests/win/app_test_setup.h"
#include "tests/win/test_cleanup.h"

namespace {

const bool testRootRemoved = removedAfterTheTests(L"C:\\velkaris-tests");

const std::wstring TestRoot = L"C:\\velkaris-tests\\hardening";

// A path of exactly `length` characters under TestRoot, made of 50-character segments.
std::wstring pathOfLength(size_t length) {
    std::wstring path = TestRoot;
    while (path.size() < length) {
        path += L"\\" + std::wstring(std::min<size_t>(50, length - path.size() - 1), L'h');
    }
    return path;
}

// The first byteCount bytes of the text, padded with zeros.
std::vector<BYTE> bytesOf(const std::wstring& text, size_t byteCount) {
    std::vector<BYTE> bytes(byteCount, 0);
    std::memcpy(bytes.data(), text.data(), std::min(byteCount, text.size() * sizeof(wchar_t)));
    return bytes;
}

template <typename Number>
std::vector<BYTE> bytesOfNumber(Number value) {
    const BYTE* first = reinterpret_cast<const BYTE*>(&value);
    return {first, first + sizeof value};
}

class AppPathValue : public ::testing::Test {
protected:
    void SetUp() override { deleteVelkarisKey(); }
    void TearDown() override { deleteVelkarisKey(); }

    // Stores AppPath with exactly the type and bytes given, then runs loadDefaults on a fresh
    // record. RegSetValueExW counts a terminator that follows a string value's bytes in
    // memory as part of the value, so a non-zero character follows them here.
    const SetupContext& loadWith(DWORD type, const std::vector<BYTE>& bytes) {
        std::vector<BYTE> buffer = bytes;
        buffer.insert(buffer.end(), {0xFF, 0xFF});
        setAppPath(type, buffer.data(), static_cast<DWORD>(bytes.size()));
        expectStored(type, bytes.size());
        runs_.emplace_back(std::make_unique<TestSetup>());
        EXPECT_EQ(loadDefaults(), 1u);
        return runs_.back()->context;
    }

    static void expectDefaults(const SetupContext& context) {
        const std::wstring appData = knownFolder(CSIDL_APPDATA) + L"\\";
        EXPECT_EQ(std::wstring(context.installDir), appData + L"Velkaris\\");
        EXPECT_EQ(std::wstring(context.browsePath), appData);
        EXPECT_EQ(std::wstring(context.shortcutDir), knownFolder(CSIDL_PROGRAMS) + L"\\Velkaris\\");
    }

    // The value named `folder`: browsePath keeps it as read, installDir ends in a backslash.
    static void expectTaken(const SetupContext& context, const std::wstring& folder,
                            const std::wstring& installDir) {
        EXPECT_EQ(std::wstring(context.browsePath), folder);
        EXPECT_EQ(std::wstring(context.installDir), installDir);
        EXPECT_EQ(std::wstring(context.shortcutDir), knownFolder(CSIDL_PROGRAMS) + L"\\Velkaris\\");
    }

private:
    // The registry holds the value as the test meant it.
    static void expectStored(DWORD type, size_t size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Velkaris", 0, KEY_QUERY_VALUE,
                                &key),
                  ERROR_SUCCESS);
        DWORD storedType = 0;
        DWORD storedSize = 0;
        EXPECT_EQ(RegQueryValueExW(key, L"AppPath", nullptr, &storedType, nullptr, &storedSize),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        EXPECT_EQ(storedType, type);
        EXPECT_EQ(storedSize, size);
    }

    // Every run's record stays alive until the test ends; theSetup points at the last one.
    std::vector<std::unique_ptr<TestSetup>> runs_;
};

}  // namespace

TEST_F(AppPathValue, EveryTypeIsReadAsTheSameRawBytes) {
    const std::wstring folder = makeFolders(TestRoot + L"\\typed");
    const std::vector<BYTE> bytes = bytesOf(folder, (folder.size() + 1) * sizeof(wchar_t));
    for (const DWORD type : {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD,
                             REG_DWORD_BIG_ENDIAN, REG_LINK, REG_MULTI_SZ, REG_RESOURCE_LIST,
                             REG_QWORD}) {
        SCOPED_TRACE(type);
        expectTaken(loadWith(type, bytes), folder, folder + L"\\");
    }
}

TEST_F(AppPathValue, NumbersAreReadAsCharacters) {
    // 43 00 3A 00 is "C:", the current folder of drive C, which exists.
    expectTaken(loadWith(REG_DWORD, bytesOfNumber<DWORD>(0x003A0043)), L"C:", L"C:\\");
    // "C:\" and a terminator fill the eight bytes of a QWORD.
    expectTaken(loadWith(REG_QWORD, bytesOfNumber<uint64_t>(0x0000005C003A0043)), L"C:\\",
                L"C:\\");
    expectDefaults(loadWith(REG_DWORD, bytesOfNumber<DWORD>(0)));
}

TEST_F(AppPathValue, AnOddLastByteBecomesACharacterWithTheZeroedField) {
    // A single byte is one character, a relative name looked up in the current folder.
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(makeFolders(TestRoot + L"\\current").c_str()));
    expectDefaults(loadWith(REG_BINARY, {'X'}));
    expectTaken(loadWith(REG_BINARY, {'.'}), L".", L".\\");
    SetCurrentDirectoryW(previous);

    // Three bytes 43 00 3A: "C:" once the fourth byte, from the zeroed field, is added.
    expectTaken(loadWith(REG_BINARY, {'C', 0, ':'}), L"C:", L"C:\\");

    // 471 bytes: a 235-character path and one more byte, which names a 236-character folder.
    const std::wstring path235 = pathOfLength(235);
    const std::wstring folder236 = makeFolders(path235 + L"x");
    std::vector<BYTE> bytes = bytesOf(path235, 470);
    bytes.push_back('x');
    expectTaken(loadWith(REG_BINARY, bytes), folder236, folder236 + L"\\");
}

TEST_F(AppPathValue, TheLongestReadableValueHasNoRoomForATerminator) {
    const std::wstring folder236 = makeFolders(pathOfLength(235) + L"x");
    ASSERT_EQ(folder236.size(), 236u);
    const std::wstring folder237 = makeFolders(folder236 + L"y");

    // 472 bytes, all of them characters: the zeroed rest of the field ends the text.
    for (const DWORD type : {REG_SZ, REG_BINARY}) {
        SCOPED_TRACE(type);
        expectTaken(loadWith(type, bytesOf(folder236, 472)), folder236, folder236 + L"\\");
    }
    // 474 bytes do not fit: the query fails although the folder exists.
    for (const DWORD type : {REG_SZ, REG_BINARY}) {
        SCOPED_TRACE(type);
        expectDefaults(loadWith(type, bytesOf(folder237, 474)));
    }
}

TEST_F(AppPathValue, AMultiStringIsTakenByItsFirstString) {
    const std::wstring first = makeFolders(TestRoot + L"\\multi-first");
    const std::wstring second = makeFolders(TestRoot + L"\\multi-second");
    const std::wstring missing = TestRoot + L"\\multi-missing";

    const std::wstring both = first + L'\0' + second + L'\0' + L'\0';
    expectTaken(loadWith(REG_MULTI_SZ, bytesOf(both, both.size() * sizeof(wchar_t))), first,
                first + L"\\");

    const std::wstring missingFirst = missing + L'\0' + second + L'\0' + L'\0';
    expectDefaults(
        loadWith(REG_MULTI_SZ, bytesOf(missingFirst, missingFirst.size() * sizeof(wchar_t))));
}

TEST_F(AppPathValue, AnExpandStringIsNotExpanded) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"VELKARIS_TEST_FOLDER", L"expanded"));
    makeFolders(TestRoot + L"\\expanded");
    const std::wstring withVariable = TestRoot + L"\\%VELKARIS_TEST_FOLDER%";
    const std::vector<BYTE> bytes =
        bytesOf(withVariable, (withVariable.size() + 1) * sizeof(wchar_t));

    // Only the expanded folder exists: the value names nothing.
    expectDefaults(loadWith(REG_EXPAND_SZ, bytes));
    // A folder named literally with the percent signs is the one chosen.
    makeFolders(withVariable);
    expectTaken(loadWith(REG_EXPAND_SZ, bytes), withVariable, withVariable + L"\\");
}

TEST_F(AppPathValue, AnEmptyValueOfAnyTypeSelectsTheDefaults) {
    for (const DWORD type : {REG_SZ, REG_BINARY, REG_NONE, REG_MULTI_SZ}) {
        SCOPED_TRACE(type);
        expectDefaults(loadWith(type, {}));
    }
}
