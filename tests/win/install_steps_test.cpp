// The nine install steps on a setup record with the real page templates, a block of known
// bytes and private folders; each step is checked by what it leaves on disk, in the
// registry and on the progress page.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "install/install_steps.h"
#include "setup/component_table.h"
#include "setup/setup_context.h"
#include "tests/checks/association_watch.h"
#include "tests/win/install_test_files.h"
#include "tests/win/install_test_links.h"
#include "tests/win/step_test_pages.h"
#include "tests/win/test_cleanup.h"
#include "tests/win/test_registry.h"

namespace {

constexpr int StatusLine = 1003;
constexpr int ProgressBar = 1019;
constexpr uint32_t NoMessage = 0xFFFFFFFF;

const wchar_t* const UninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris";
const wchar_t* const Names[] = {L"Brinet", L"PaneVista", L"QuietVault", L"Padwick",
                                L"Tunewell", L"Notarel", L"LockBin", L"Packrill"};

// Every key the steps write to, removed before each test.
const wchar_t* const WrittenKeys[] = {
    L"Software\\Classes\\Directory\\shell\\Tunewell",
    L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell",
    L"Software\\Classes\\.ntxt",
    L"Software\\Classes\\Notarel.Document",
    L"Software\\Classes\\.lbx",
    L"Software\\Classes\\LockBin.File",
    L"Software\\Classes\\.pkr",
    L"Software\\Classes\\Packrill.File",
    L"Software\\Velkaris",
    UninstallKey,
};


// A REG_SZ value as the registry must hold it: the text and its terminator, nothing more.
void expectText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    const StoredValue value = readValue(key, name);
    ASSERT_EQ(value.status, ERROR_SUCCESS) << std::string(key.begin(), key.end());
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
    EXPECT_EQ(value.data, std::vector<uint8_t>(bytes, bytes + 2 * (text.size() + 1)))
        << std::string(key.begin(), key.end());
}

void expectNumber(const std::wstring& key, const wchar_t* name, DWORD number) {
    const StoredValue value = readValue(key, name);
    ASSERT_EQ(value.status, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(value.data.size(), 4u);
    DWORD stored = 0;
    std::memcpy(&stored, value.data.data(), 4);
    EXPECT_EQ(stored, number);
}

class InstallSteps : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initStepTestThread(); }
    static void TearDownTestSuite() { finishStepTestThread(); }

    void SetUp() override {
        SetupContext& setup = context;
        setup.instance = GetModuleHandleW(nullptr);
        setup.componentNames = componentTable;
        theSetup = &setup;
        ASSERT_TRUE(createStepPages(setup));
        fillBlock();
        const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = freshFolder(std::wstring(test, test + std::strlen(test)));
        destination = folder + L"Apps\\Velkaris\\";
        startMenu = folder + L"Menu\\Velkaris\\";
        wcscpy(setup.installDir, destination.c_str());
        wcscpy(setup.shortcutDir, startMenu.c_str());
        setup.requiredBytes = 1500000;
        setup.state = Installing;
        for (const wchar_t* key : WrittenKeys) {
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
            RegDeleteKeyW(HKEY_CURRENT_USER, key);
        }
    }

    void TearDown() override {
        destroyStepPages(context);
        for (const wchar_t* key : WrittenKeys) {
            removeKeysAndEmptyParents({key});
        }
    }

    // Eleven entries of distinct sizes and times, and bytes that differ per entry.
    void fillBlock() {
        block.assign(UnpackBlockSize, 0);
        uint32_t offset = PackageHeaderSize;
        for (uint32_t k = 0; k < PackageEntryCount; ++k) {
            const uint32_t size = 3000 + 517 * k;
            context.entries[k] = {offset, size, {0x7DB50500u, 0x01C08D96u + k}};
            for (uint32_t i = 0; i < size; ++i) {
                block[offset + i] = static_cast<uint8_t>(k * 31 + i * 7 + i / 251);
            }
            offset += size;
        }
        context.unpacked = {block.data(), 0, UnpackBlockSize, UnpackBlockSize};
    }

    // Runs one step as the timer tick does and checks what every step must leave: no
    // pending step, the folders as they were, the bar at its position. Returns the step
    // index the step scheduled, or NoMessage.
    uint32_t runStep(uint32_t index) {
        context.pendingStep = index + 1;
        const std::wstring install = context.installDir;
        const std::wstring shortcut = context.shortcutDir;
        runInstallStep(index);
        EXPECT_EQ(context.pendingStep, 0u);
        EXPECT_EQ(std::wstring(context.installDir), install);
        EXPECT_EQ(std::wstring(context.shortcutDir), shortcut);
        EXPECT_EQ(progress(), (index + 1) * 100 / 9);
        MSG message{};
        if (!PeekMessageW(&message, context.mainWindow, WM_APP, WM_APP, PM_REMOVE)) {
            return NoMessage;
        }
        EXPECT_EQ(message.lParam, 0);
        return static_cast<uint32_t>(message.wParam);
    }

    void uncheck(uint32_t index) {
        CheckDlgButton(context.pages[Components], 1006 + index, BST_UNCHECKED);
    }

    std::vector<std::wstring> details() const {
        std::vector<std::wstring> lines;
        const auto count = SendMessageW(context.detailsList, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring line(SendMessageW(context.detailsList, LB_GETTEXTLEN, i, 0), L'\0');
            SendMessageW(context.detailsList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
            lines.push_back(line);
        }
        return lines;
    }

    std::wstring status() const {
        wchar_t text[256] = {};
        GetDlgItemTextW(context.pages[Progress], StatusLine, text, 256);
        return text;
    }

    uint32_t progress() const {
        return static_cast<uint32_t>(
            SendDlgItemMessageW(context.pages[Progress], ProgressBar, PBM_GETPOS, 0, 0));
    }

    std::vector<uint8_t> entryBytes(uint32_t k) const {
        const PackageEntry& entry = context.entries[k];
        return {block.begin() + entry.offset, block.begin() + entry.offset + entry.size};
    }

    std::wstring program(uint32_t index) const { return destination + Names[index] + L".exe"; }
    std::wstring link(uint32_t index) const { return startMenu + Names[index] + L".lnk"; }
    std::wstring command(uint32_t index) const { return L"\"" + program(index) + L"\" \"%1\""; }

    void expectInstalled(uint32_t index) {
        EXPECT_EQ(readFile(program(index)), entryBytes(index + 1));
        const FileTime& stored = context.entries[index + 1].lastWriteTime;
        const FILETIME written = fileTimes(program(index)).write;
        EXPECT_EQ(written.dwLowDateTime, stored.lowDateTime);
        EXPECT_EQ(written.dwHighDateTime, stored.highDateTime);
        EXPECT_EQ(readLink(link(index)).path, program(index));
    }

    // The file type of a document application: extension, ProgID, icon, verb, command.
    void expectFileType(uint32_t index, const wchar_t* extension, const std::wstring& progId,
                        const wchar_t* description) {
        const std::wstring classes = L"Software\\Classes\\";
        expectText(classes + extension, nullptr, progId);
        expectText(classes + progId, nullptr, description);
        expectText(classes + progId + L"\\DefaultIcon", nullptr, program(index) + L",0");
        expectText(classes + progId + L"\\shell", nullptr, L"open");
        expectText(classes + progId + L"\\shell\\open\\command", nullptr, command(index));
    }

    SetupContext context{};
    std::vector<uint8_t> block;
    std::wstring folder;
    std::wstring destination;
    std::wstring startMenu;
};

}  // namespace

TEST_F(InstallSteps, FullInstallationWritesEverythingAndReportsSuccess) {
    const AssociationWatch explorer;
    ASSERT_TRUE(explorer.registered());
    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        EXPECT_EQ(runStep(i), i + 1);
        EXPECT_EQ(status(), Names[i]);
    }
    EXPECT_EQ(explorer.count(0), 0) << "the component steps leave the notice to the final step";
    const uint64_t beforeUninstaller = now();
    EXPECT_EQ(runStep(FinalStep), NoMessage);
    EXPECT_EQ(explorer.count(1), 1) << "Explorer is told once that file types changed";

    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        expectInstalled(i);
    }
    const std::wstring uninstaller = destination + L"uninstall.exe";
    EXPECT_EQ(readFile(uninstaller), entryBytes(UninstallerEntry));
    EXPECT_GE(ticks(fileTimes(uninstaller).write) + 2 * TicksPerSecond, beforeUninstaller);

    const std::wstring verb = L"Play with Tunewell";
    expectText(L"Software\\Classes\\Directory\\shell\\Tunewell", nullptr, verb);
    expectText(L"Software\\Classes\\Directory\\shell\\Tunewell\\command", nullptr, command(4));
    expectText(L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell", nullptr, verb);
    expectText(L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell\\command",
               nullptr, command(4));
    expectFileType(5, L".ntxt", L"Notarel.Document", L"Notarel Document");
    expectFileType(6, L".lbx", L"LockBin.File", L"LBX Encrypted File");
    expectFileType(7, L".pkr", L"Packrill.File", L"Packrill Archive");

    expectText(L"Software\\Velkaris", L"AppPath", destination);
    expectText(UninstallKey, L"DisplayIcon", uninstaller + L",0");
    expectText(UninstallKey, L"DisplayName", L"Velkaris App Pack (Single User)");
    expectText(UninstallKey, L"DisplayVersion", L"2308");
    expectText(UninstallKey, L"Publisher", L"Velkaris");
    expectText(UninstallKey, L"UninstallString", L"\"" + uninstaller + L"\"");
    expectNumber(UninstallKey, L"EstimatedSize", 1464);
    expectNumber(UninstallKey, L"NoModify", 1);
    expectNumber(UninstallKey, L"NoRepair", 1);
    expectText(UninstallKey, L"QuietUninstallString", L"\"" + uninstaller + L"\" /S");
    expectText(UninstallKey, L"InstallLocation", destination);

    std::vector<std::wstring> expectedLines;
    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        expectedLines.push_back(program(i));
        expectedLines.push_back(link(i));
    }
    expectedLines.push_back(uninstaller);
    EXPECT_EQ(details(), expectedLines);
    EXPECT_EQ(status(), L"Installation completed successfully.");
    EXPECT_EQ(context.state, static_cast<uint32_t>(Finished));
    EXPECT_EQ(context.errorCount, 0u);
}

TEST_F(InstallSteps, ApplicationsWithoutFileTypesWriteNoClassesKeysNorTellExplorer) {
    const AssociationWatch explorer;
    ASSERT_TRUE(explorer.registered());
    for (uint32_t i = 4; i < ApplicationCount; ++i) {
        uncheck(i);
    }
    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        runStep(i);
    }
    for (const wchar_t* key : WrittenKeys) {
        EXPECT_FALSE(keyExists(key)) << std::wstring(key).size();
    }
    runStep(FinalStep);
    expectInstalled(3);
    EXPECT_EQ(explorer.count(0), 0);
}

TEST_F(InstallSteps, UncheckedComponentWritesNothingButTheChainMovesOn) {
    uncheck(5);
    SetDlgItemTextW(context.pages[Progress], StatusLine, L"Tunewell");
    EXPECT_EQ(runStep(5), 6u);
    EXPECT_EQ(status(), L"Tunewell");
    EXPECT_TRUE(details().empty());
    EXPECT_FALSE(folderExists(destination));
    EXPECT_FALSE(folderExists(startMenu));
    EXPECT_FALSE(keyExists(L"Software\\Classes\\.ntxt"));
    EXPECT_FALSE(keyExists(L"Software\\Classes\\Notarel.Document"));
}

TEST_F(InstallSteps, ProgramThatCannotBeWrittenGetsNoShortcutNorValues) {
    createFolders(program(5));
    EXPECT_EQ(runStep(5), 6u);
    EXPECT_EQ(details(), (std::vector<std::wstring>{program(5), L"ERROR: Write failed."}));
    EXPECT_EQ(context.errorCount, 1u);
    EXPECT_FALSE(fileExists(link(5)));
    EXPECT_FALSE(keyExists(L"Software\\Classes\\.ntxt"));
    EXPECT_FALSE(keyExists(L"Software\\Classes\\Notarel.Document"));
    // The chain goes on and the next application installs.
    EXPECT_EQ(runStep(6), 7u);
    expectInstalled(6);
    runStep(FinalStep);
    EXPECT_EQ(status(), L"Installation failed.");
    EXPECT_EQ(context.state, static_cast<uint32_t>(Finished));
}

TEST_F(InstallSteps, ShortcutThatCannotBeCreatedStillWritesTheValues) {
    createFolders(folder + L"Menu");
    writeFile(folder + L"Menu\\Velkaris", "a file where the Start-menu folder should be");
    EXPECT_EQ(runStep(6), 7u);
    EXPECT_EQ(details(),
              (std::vector<std::wstring>{program(6), link(6), L"ERROR: Write failed."}));
    EXPECT_EQ(context.errorCount, 1u);
    EXPECT_EQ(readFile(program(6)), entryBytes(7));
    expectFileType(6, L".lbx", L"LockBin.File", L"LBX Encrypted File");
    runStep(FinalStep);
    EXPECT_EQ(status(), L"Installation failed.");
}

TEST_F(InstallSteps, RegistryKeysThatCannotBeCreatedAreReportedAndTheStepGoesOn) {
    // A volatile ProgID key cannot hold the lasting DefaultIcon and shell keys. Its parent is
    // lasting, as on every Windows (a fresh Wine prefix has no Classes key yet).
    HKEY classes = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_WRITE, nullptr,
                    &classes, nullptr);
    RegCloseKey(classes);
    HKEY progId = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\Packrill.File", 0, nullptr,
                    REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &progId, nullptr);
    RegCloseKey(progId);
    EXPECT_EQ(runStep(7), 8u);
    EXPECT_FALSE(keyExists(L"Software\\Classes\\Packrill.File\\DefaultIcon"));
    expectText(L"Software\\Classes\\.pkr", nullptr, L"Packrill.File");
    expectText(L"Software\\Classes\\Packrill.File", nullptr, L"Packrill Archive");
    const std::wstring progIdKey = L"HKEY_CURRENT_USER\\Software\\Classes\\Packrill.File";
    const std::wstring error = L"ERROR: Write failed.";
    EXPECT_EQ(details(), (std::vector<std::wstring>{
                             program(7), link(7), progIdKey + L"\\DefaultIcon", error,
                             progIdKey + L"\\shell", error, progIdKey + L"\\shell\\open\\command",
                             error}));
    EXPECT_EQ(context.errorCount, 3u);
    runStep(FinalStep);
    EXPECT_EQ(status(), L"Installation failed.");
}

TEST_F(InstallSteps, UninstallerThatCannotBeWrittenKeepsAppPathOnly) {
    createFolders(destination + L"uninstall.exe");
    EXPECT_EQ(runStep(FinalStep), NoMessage);
    expectText(L"Software\\Velkaris", L"AppPath", destination);
    EXPECT_FALSE(keyExists(UninstallKey));
    EXPECT_EQ(details(), (std::vector<std::wstring>{destination + L"uninstall.exe",
                                                    L"ERROR: Write failed."}));
    EXPECT_EQ(status(), L"Installation failed.");
    EXPECT_EQ(context.state, static_cast<uint32_t>(Finished));
}

TEST_F(InstallSteps, NothingChosenFinishesWithoutWritingAnything) {
    context.requiredBytes = 0;
    EXPECT_EQ(runStep(FinalStep), NoMessage);
    EXPECT_FALSE(keyExists(L"Software\\Velkaris"));
    EXPECT_FALSE(keyExists(UninstallKey));
    EXPECT_FALSE(folderExists(destination));
    EXPECT_TRUE(details().empty());
    EXPECT_EQ(status(), L"Installation completed successfully.");
    EXPECT_EQ(context.state, static_cast<uint32_t>(Finished));
}

TEST_F(InstallSteps, EstimatedSizeIsWholeKibibytesOfTheRequiredBytes) {
    context.requiredBytes = 1023 + 4096;
    createFolders(destination);
    runStep(FinalStep);
    expectNumber(UninstallKey, L"EstimatedSize", 4);
}

TEST_F(InstallSteps, FolderTooLongForItsFileNamesFailsWithoutOverflow) {
    // 290 characters: the folder field has room for "Brinet" but not for ".exe" too.
    std::wstring longFolder = folder + std::wstring(289 - folder.size(), L'd') + L"\\";
    ASSERT_EQ(longFolder.size(), 290u);
    wcscpy(context.installDir, longFolder.c_str());
    EXPECT_EQ(runStep(0), 1u);
    EXPECT_EQ(details(), (std::vector<std::wstring>{L"ERROR: Write failed."}));
    EXPECT_EQ(context.installDir[290], L'\0');
    runStep(FinalStep);
    expectText(L"Software\\Velkaris", L"AppPath", longFolder);
    EXPECT_FALSE(keyExists(UninstallKey));
    EXPECT_EQ(details().size(), 2u);
    EXPECT_EQ(context.errorCount, 2u);
    EXPECT_EQ(status(), L"Installation failed.");
}

TEST_F(InstallSteps, StepBeyondTheLastOnlyClearsThePendingStep) {
    context.pendingStep = FinalStep + 2;
    runInstallStep(FinalStep + 1);
    EXPECT_EQ(context.pendingStep, 0u);
    EXPECT_EQ(progress(), 0u);
    EXPECT_EQ(context.state, static_cast<uint32_t>(Installing));
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, context.mainWindow, WM_APP, WM_APP, PM_REMOVE));
}
