// The fixed buffers the installer copies paths into, filled to their last unit and one
// beyond: the three 300-unit folder fields as start-up fills them from the longest known
// folders and as the install steps extend them with file names, the steps' two 308-unit
// strings at the longest program path, and a folder field that lost its terminator. What
// fits is used whole; what does not is refused whole and reported as a failed write;
// nothing is written past a field.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/load_defaults.h"
#include "install/install_steps.h"
#include "tests/win/app_test_setup.h"
#include "tests/win/install_test_files.h"
#include "tests/win/install_test_links.h"
#include "tests/win/step_test_pages.h"
#include "tests/win/test_registry.h"
#include "tests/win/test_cleanup.h"

namespace {

const bool testRootRemoved = removedAfterTheTests(L"C:\\velkaris-tests");

const std::wstring FailedLine = L"ERROR: Write failed.";
const wchar_t* const UninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris";
const wchar_t* const ShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Extends base with segments of at most 60 characters up to exactly `length` characters
// and makes the folders; with `trailing`, the last of those characters is a backslash.
std::wstring longFolder(std::wstring base, size_t length, bool trailing) {
    const size_t body = trailing ? length - 1 : length;
    while (base.size() < body) {
        base += L"\\" + std::wstring(std::min<size_t>(60, body - base.size() - 1), L'b');
    }
    makeFolders(base);
    return trailing ? base + L"\\" : base;
}

std::wstring testName() {
    const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return std::wstring(name, name + std::strlen(name));
}

void expectText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    const StoredValue value = readValue(key, name);
    ASSERT_EQ(value.status, ERROR_SUCCESS);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
    EXPECT_EQ(value.data, std::vector<uint8_t>(bytes, bytes + 2 * (text.size() + 1)));
}


// The known folders start-up builds on, pointed at folders of the test's choosing and
// restored afterwards.
class KnownFolderLimits : public ::testing::Test {
protected:
    void SetUp() override {
        deleteVelkarisKey();
        saved = {readValue(ShellFolders, L"AppData"), readValue(ShellFolders, L"Programs")};
    }
    void TearDown() override {
        setShellFolder(L"AppData", saved[0].data);
        setShellFolder(L"Programs", saved[1].data);
    }

    static void setShellFolder(const wchar_t* name, const std::vector<uint8_t>& data) {
        RegSetKeyValueW(HKEY_CURRENT_USER, ShellFolders, name, REG_EXPAND_SZ, data.data(),
                        static_cast<DWORD>(data.size()));
    }
    static void setShellFolder(const wchar_t* name, const std::wstring& path) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(path.c_str());
        setShellFolder(name, std::vector<uint8_t>(bytes, bytes + 2 * (path.size() + 1)));
    }

    std::vector<StoredValue> saved;
};

// The install steps on a record with the real progress and components pages and a block
// of small known entries, every application checked.
class FieldBoundaries : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initStepTestThread(); }
    static void TearDownTestSuite() { finishStepTestThread(); }

    void SetUp() override {
        SetupContext& setup = test.context;
        ASSERT_TRUE(createStepPages(setup));
        block.assign(UnpackBlockSize, 0);
        for (uint32_t k = 0; k < PackageEntryCount; ++k) {
            const uint32_t offset = PackageHeaderSize + 1000 * k;
            setup.entries[k] = {offset, 1000, {0x7DB50500u, 0x01C08D96u}};
            std::memset(block.data() + offset, 'a' + static_cast<int>(k), 1000);
        }
        setup.unpacked = {block.data(), 0, UnpackBlockSize, UnpackBlockSize};
        setup.requiredBytes = 11000;
        setup.state = Installing;
        base = freshFolder(testName());
        setShortcutDir(base + L"Menu\\");
        removeWrittenKeys();
    }

    void TearDown() override {
        destroyStepPages(test.context);
        removeWrittenKeys();
    }

    // What the steps write: the Packrill file type, AppPath and the uninstall registration.
    static void removeWrittenKeys() {
        removeKeysAndEmptyParents({L"Software\\Classes\\.pkr", L"Software\\Classes\\Packrill.File",
                                   L"Software\\Velkaris", UninstallKey});
    }

    void setInstallDir(const std::wstring& folder) {
        ASSERT_LT(folder.size(), static_cast<size_t>(FolderFieldUnits));
        wcscpy(test.context.installDir, folder.c_str());
    }
    void setShortcutDir(const std::wstring& folder) {
        ASSERT_LT(folder.size(), static_cast<size_t>(FolderFieldUnits));
        wcscpy(test.context.shortcutDir, folder.c_str());
    }

    // Runs one step; both folder fields must be what they were before it.
    void runStep(uint32_t index) {
        const std::wstring install = test.context.installDir;
        const std::wstring shortcut = test.context.shortcutDir;
        runInstallStep(index);
        EXPECT_EQ(std::wstring(test.context.installDir), install);
        EXPECT_EQ(std::wstring(test.context.shortcutDir), shortcut);
    }

    std::vector<std::wstring> details() const {
        std::vector<std::wstring> lines;
        const LRESULT count = SendMessageW(test.context.detailsList, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring line(SendMessageW(test.context.detailsList, LB_GETTEXTLEN, i, 0), L'\0');
            SendMessageW(test.context.detailsList, LB_GETTEXT, i,
                         reinterpret_cast<LPARAM>(line.data()));
            lines.push_back(line);
        }
        return lines;
    }

    TestSetup test;
    std::vector<uint8_t> block;
    std::wstring base;
};

}  // namespace

TEST_F(KnownFolderLimits, LongestKnownFoldersGetTheMakerFolderInsideTheirFields) {
    // The system gives folders of at most 259 characters; with "\Velkaris\" they take 269
    // of the 300 units.
    const std::wstring appData = longFolder(L"C:\\velkaris-tests\\buffers\\appdata", 259, false);
    const std::wstring programs = longFolder(L"C:\\velkaris-tests\\buffers\\programs", 259, false);
    setShellFolder(L"AppData", appData);
    setShellFolder(L"Programs", programs);
    TestSetup setup;
    ASSERT_EQ(loadDefaults(), 1u);
    EXPECT_EQ(std::wstring(setup.context.installDir), appData + L"\\Velkaris\\");
    EXPECT_EQ(std::wstring(setup.context.browsePath), appData + L"\\");
    EXPECT_EQ(std::wstring(setup.context.shortcutDir), programs + L"\\Velkaris\\");
}

TEST_F(FieldBoundaries, ProgramPathMayFillTheFolderFieldToItsLastUnit) {
    // 285 characters and "QuietVault.exe" are 299: the terminator takes the last unit.
    setInstallDir(longFolder(base + L"fits", 285, true));
    runStep(2);
    const std::wstring program = std::wstring(test.context.installDir) + L"QuietVault.exe";
    ASSERT_EQ(program.size(), 299u);
    const std::vector<std::wstring> lines = details();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], program);
    EXPECT_EQ(readFile(program), std::vector<uint8_t>(1000, 'd'));
}

TEST_F(FieldBoundaries, ProgramPathOneUnitTooLongIsAFailedWrite) {
    setInstallDir(longFolder(base + L"over", 286, true));
    runStep(2);
    EXPECT_EQ(details(), std::vector<std::wstring>{FailedLine});
    EXPECT_EQ(test.context.errorCount, 1u);
    // The shorter name of the next application still fits.
    runStep(3);
    EXPECT_EQ(details().at(1), std::wstring(test.context.installDir) + L"Padwick.exe");
}

TEST_F(FieldBoundaries, ShortcutPathFillsTheFieldOrIsAFailedWrite) {
    setInstallDir(base + L"Apps\\");
    setShortcutDir(longFolder(base + L"menu", 285, true));
    runStep(2);
    const std::wstring link = std::wstring(test.context.shortcutDir) + L"QuietVault.lnk";
    ASSERT_EQ(link.size(), 299u);
    EXPECT_EQ(details(), (std::vector<std::wstring>{base + L"Apps\\QuietVault.exe", link}));
    EXPECT_EQ(readLink(link).path, base + L"Apps\\QuietVault.exe");

    setShortcutDir(longFolder(base + L"menu2", 286, true));
    runStep(2);
    EXPECT_EQ(details().at(2), base + L"Apps\\QuietVault.exe");
    EXPECT_EQ(details().at(3), FailedLine);
    EXPECT_EQ(details().size(), 4u);
    EXPECT_EQ(test.context.errorCount, 1u);
}

TEST_F(FieldBoundaries, StepStringsHoldTheLongestProgramPathWhole) {
    // A 299-character program: its command string is 306 characters of the 308 units.
    setInstallDir(longFolder(base + L"strings", 287, true));
    runStep(7);
    const std::wstring program = std::wstring(test.context.installDir) + L"Packrill.exe";
    ASSERT_EQ(program.size(), 299u);
    expectText(L"Software\\Classes\\Packrill.File\\DefaultIcon", nullptr, program + L",0");
    expectText(L"Software\\Classes\\Packrill.File\\shell\\open\\command", nullptr,
               L"\"" + program + L"\" \"%1\"");
}

TEST_F(FieldBoundaries, UninstallerPathFillsTheFieldOrIsAFailedWrite) {
    const std::wstring fits = longFolder(base + L"final", 286, true);
    setInstallDir(fits);
    runStep(FinalStep);
    const std::wstring uninstaller = fits + L"uninstall.exe";
    ASSERT_EQ(uninstaller.size(), 299u);
    EXPECT_EQ(details(), std::vector<std::wstring>{uninstaller});
    expectText(L"Software\\Velkaris", L"AppPath", fits);
    expectText(UninstallKey, L"DisplayIcon", uninstaller + L",0");
    expectText(UninstallKey, L"UninstallString", L"\"" + uninstaller + L"\"");
    expectText(UninstallKey, L"QuietUninstallString", L"\"" + uninstaller + L"\" /S");
    expectText(UninstallKey, L"InstallLocation", fits);

    RegDeleteTreeW(HKEY_CURRENT_USER, UninstallKey);
    const std::wstring over = longFolder(base + L"final2", 287, true);
    setInstallDir(over);
    runStep(FinalStep);
    EXPECT_EQ(details().at(1), FailedLine);
    expectText(L"Software\\Velkaris", L"AppPath", over);
    EXPECT_FALSE(keyExists(UninstallKey));
}

TEST_F(FieldBoundaries, FolderFieldWithoutTerminatorIsNeverReadOrWrittenPastItsEnd) {
    SetupContext& setup = test.context;
    std::fill(std::begin(setup.installDir), std::end(setup.installDir), L'x');
    const std::wstring shortcut = setup.shortcutDir;
    runInstallStep(0);
    EXPECT_EQ(details(), std::vector<std::wstring>{FailedLine});
    // The step ends the field inside it, at its last unit; the next field is untouched.
    EXPECT_EQ(std::wstring(setup.installDir), std::wstring(FolderFieldUnits - 1, L'x'));
    EXPECT_EQ(std::wstring(setup.shortcutDir), shortcut);
}
