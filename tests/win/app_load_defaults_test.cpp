#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "app/load_defaults.h"
#include "tests/win/app_test_setup.h"
#include "tests/win/test_cleanup.h"

namespace {

const bool testRootRemoved = removedAfterTheTests(L"C:\\velkaris-tests");

class LoadDefaults : public ::testing::Test {
protected:
    void SetUp() override { deleteVelkarisKey(); }
    void TearDown() override { deleteVelkarisKey(); }

    // Runs loadDefaults on a fresh record and expects success.
    void load() { ASSERT_EQ(loadDefaults(), 1u); }
    std::wstring installDir() const { return setup.context.installDir; }
    std::wstring browsePath() const { return setup.context.browsePath; }
    std::wstring shortcutDir() const { return setup.context.shortcutDir; }

    void expectFirstRunDefaults() const {
        const std::wstring appData = knownFolder(CSIDL_APPDATA) + L"\\";
        EXPECT_EQ(installDir(), appData + L"Velkaris\\");
        EXPECT_EQ(browsePath(), appData);
        EXPECT_EQ(shortcutDir(), knownFolder(CSIDL_PROGRAMS) + L"\\Velkaris\\");
    }

    TestSetup setup;
};

std::wstring tempFolder(const wchar_t* name) {
    return makeFolders(std::wstring(L"C:\\velkaris-tests\\") + name);
}

}  // namespace

TEST_F(LoadDefaults, FirstRunUsesTheApplicationDataAndProgramsFolders) {
    load();
    expectFirstRunDefaults();
    EXPECT_EQ(setup.context.entries[0].offset, 132u);
    EXPECT_NE(setup.context.unpacked.data, nullptr);
}

TEST_F(LoadDefaults, PreviousFolderWithoutBackslashIsTakenAndGetsOne) {
    const std::wstring folder = tempFolder(L"previous");
    setAppPathString(folder);
    load();
    EXPECT_EQ(browsePath(), folder);
    EXPECT_EQ(installDir(), folder + L"\\");
    EXPECT_EQ(shortcutDir(), knownFolder(CSIDL_PROGRAMS) + L"\\Velkaris\\");
}

TEST_F(LoadDefaults, ForwardSlashBecomesABackslashButBrowseKeepsIt) {
    const std::wstring folder = tempFolder(L"slash");
    setAppPathString(folder + L"/");
    load();
    EXPECT_EQ(browsePath(), folder + L"/");
    EXPECT_EQ(installDir(), folder + L"\\");
}

TEST_F(LoadDefaults, AFileOrAMissingFolderSelectsTheDefaults) {
    const std::wstring file = tempFolder(L"file") + L"\\notes.txt";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    setAppPathString(file);
    load();
    expectFirstRunDefaults();

    TestSetup again;
    setAppPathString(L"C:\\velkaris-tests\\gone");
    ASSERT_EQ(loadDefaults(), 1u);
    EXPECT_EQ(std::wstring(again.context.installDir), knownFolder(CSIDL_APPDATA) + L"\\Velkaris\\");
}

TEST_F(LoadDefaults, ValueOf472BytesIsReadAndOf474BytesIsNot) {
    // C:\ plus segments up to exactly 235 characters.
    std::wstring longest = L"C:\\velkaris-tests";
    while (longest.size() < 235) {
        longest += L"\\" + std::wstring(std::min<size_t>(60, 235 - longest.size() - 1), L'd');
    }
    ASSERT_EQ(longest.size(), 235u);
    makeFolders(longest);
    makeFolders(longest + L"x");
    setAppPathString(longest);  // 236 units with the terminator: 472 bytes
    load();
    EXPECT_EQ(installDir(), longest + L"\\");

    TestSetup again;
    setAppPathString(longest + L"x");  // 474 bytes: the query fails
    ASSERT_EQ(loadDefaults(), 1u);
    EXPECT_EQ(std::wstring(again.context.installDir), knownFolder(CSIDL_APPDATA) + L"\\Velkaris\\");
}

TEST_F(LoadDefaults, ValueWithoutTerminatorEndsInsideTheField) {
    const std::wstring folder = tempFolder(L"unterminated");
    // A character follows the stored bytes: the registry would otherwise count a terminator
    // found right after them as part of the value.
    const std::wstring followed = folder + L"X";
    setAppPath(REG_SZ, followed.data(), static_cast<DWORD>(folder.size() * sizeof(wchar_t)));
    load();
    EXPECT_EQ(installDir(), folder + L"\\");
}

TEST_F(LoadDefaults, TheValueTypeIsNotAskedFor) {
    const std::wstring folder = tempFolder(L"binary");
    setAppPath(REG_BINARY, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    load();
    EXPECT_EQ(installDir(), folder + L"\\");

    TestSetup again;
    const DWORD number = 0x5c3a43;  // the bytes of "C:\" as narrow text: no folder as UTF-16
    setAppPath(REG_DWORD, &number, sizeof number);
    ASSERT_EQ(loadDefaults(), 1u);
    EXPECT_EQ(std::wstring(again.context.installDir), knownFolder(CSIDL_APPDATA) + L"\\Velkaris\\");
}

TEST_F(LoadDefaults, AnEmptyValueSelectsTheDefaults) {
    setAppPath(REG_SZ, L"", sizeof(wchar_t));
    load();
    expectFirstRunDefaults();
}
