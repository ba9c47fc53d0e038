// The uninstaller's disk edge: the applications' files, folders and Start-menu shortcuts
// are deleted; files of the user, programs that differ from the installed ones and
// shortcuts leading elsewhere stay; a file in use is reported with its path and the
// system's reason while the rest is still deleted; a folder that another program holds,
// that still lists a deleted file that another program holds, or whose name outlives its
// deletion, goes at the next logon.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "install/shell_helpers.h"
#include "tests/win/test_cleanup.h"
#include "tests/win/test_runtime.h"
#include "tests/win/uninstall_test_programs.h"
#include "uninstall/file_removal.h"
#include "uninstall/shortcut_removal.h"

namespace {

const bool testRootRemoved = removedAfterTheTests(L"C:\\velkaris-uninstall-tests");

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeFile(const std::wstring& path, const char* text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

// A new folder C:\velkaris-uninstall-tests\<name>\, with its trailing backslash.
std::wstring newFolder(const std::wstring& name)
{
    CreateDirectoryW(L"C:\\velkaris-uninstall-tests", nullptr);
    const std::wstring folder = L"C:\\velkaris-uninstall-tests\\" + name + L"\\";
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr))
        << "left over from an earlier run: " << folder;
    return folder;
}

TEST(UninstallFiles, RemovesTheInstalledApplicationsAndKeepsEverythingElse) {
    const std::wstring folder = newFolder(L"applications");
    for (const wchar_t* name :
         {L"Brinet.exe", L"Tunewell.exe", L"Packrill.exe", L"notes.txt", L"Brinet.exe.bak"}) {
        writeFile(folder + name, "x");
    }
    writeFile(folder + L"PaneVista.exe", "y");   // the same size, other bytes
    writeFile(folder + L"Notarel.exe", "xx");    // the same first byte, another size
    RemovalOutcome outcome;
    removeApplications(folder, InstalledAsX, outcome);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(exists(folder + L"Brinet.exe"));
    EXPECT_FALSE(exists(folder + L"Tunewell.exe"));
    EXPECT_FALSE(exists(folder + L"Packrill.exe"));
    EXPECT_TRUE(exists(folder + L"notes.txt"));
    EXPECT_TRUE(exists(folder + L"Brinet.exe.bak"));
    EXPECT_EQ(outcome.keptPrograms,
              (std::vector<std::wstring>{folder + L"PaneVista.exe", folder + L"Notarel.exe"}));
    EXPECT_TRUE(exists(folder + L"PaneVista.exe"));
    EXPECT_TRUE(exists(folder + L"Notarel.exe"));
    EXPECT_EQ(outcome.deletedFiles, (std::vector<std::wstring>{folder + L"Brinet.exe",
                                                                folder + L"Tunewell.exe",
                                                                folder + L"Packrill.exe"}));
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::KeptForUser);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_TRUE(exists(folder));
}

TEST(UninstallFiles, ReportsAFileInUseAndRemovesTheOthers) {
    const std::wstring folder = newFolder(L"in-use");
    writeFile(folder + L"Notarel.exe", "x");
    writeFile(folder + L"LockBin.exe", "x");
    HANDLE held = CreateFileW((folder + L"Notarel.exe").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    RemovalOutcome outcome;
    removeApplications(folder, InstalledAsX, outcome);
    CloseHandle(held);
    ASSERT_EQ(outcome.failures.size(), 1u);
    const std::wstring expected = L"Could not remove " + folder + L"Notarel.exe: ";
    EXPECT_EQ(outcome.failures[0].substr(0, expected.size()), expected);
    EXPECT_GT(outcome.failures[0].size(), expected.size() + 3);  // the system's reason follows
    EXPECT_TRUE(exists(folder + L"Notarel.exe"));
    EXPECT_FALSE(exists(folder + L"LockBin.exe"));
}

TEST(UninstallFiles, AnEndedProgramIsRemovedThroughItsHandleOrReported) {
    const std::wstring folder = newFolder(L"ended");
    writeFile(folder + L"uninstall.exe", "x");
    writeFile(folder + L"held.exe", "x");
    const auto open = [&](const wchar_t* name, DWORD access) {
        return CreateFileW((folder + name).c_str(), access, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    };
    HANDLE original = open(L"uninstall.exe", GENERIC_READ | DELETE);
    ASSERT_NE(original, INVALID_HANDLE_VALUE);
    RemovalOutcome outcome;
    EXPECT_TRUE(removeEndedProgram(original, folder + L"uninstall.exe", outcome));
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(exists(folder + L"uninstall.exe"));

    HANDLE withoutDelete = open(L"held.exe", GENERIC_READ);
    ASSERT_NE(withoutDelete, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(removeEndedProgram(withoutDelete, folder + L"held.exe", outcome));
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].find(L"Could not remove " + folder + L"held.exe: "), 0u);
    EXPECT_TRUE(exists(folder + L"held.exe"));
}

TEST(UninstallFiles, FolderRemovalTellsEmptyFromKeptFromFailed) {
    const std::wstring folder = newFolder(L"folders");
    RemovalOutcome outcome;
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::Removed);
    EXPECT_FALSE(exists(folder));
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::Removed);
    EXPECT_TRUE(outcome.failures.empty());

    const std::wstring file = newFolder(L"folder-is-a-file") + L"plain";
    writeFile(file, "x");
    EXPECT_EQ(removeFolder(file, outcome), std::nullopt);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_NE(outcome.failures[0].find(L"Could not remove " + file + L": "), std::wstring::npos);
}

// A handle without FILE_SHARE_DELETE stands for a process's current folder.
TEST(UninstallFiles, AHeldFolderGoesAtTheNextLogon) {
    const std::wstring folder = newFolder(L"held");
    const auto heldOpen = [&] {
        DWORD error = ERROR_SUCCESS;
        const std::optional<FolderState> state = inspectFolder(folder, error);
        EXPECT_TRUE(state) << error;
        return state && state->heldOpen;
    };
    HANDLE sharing = CreateFileW(folder.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(sharing, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(heldOpen());
    HANDLE current = CreateFileW(folder.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    CloseHandle(sharing);
    ASSERT_NE(current, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(heldOpen());
    RemovalOutcome outcome;
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::AtNextLogon);
    CloseHandle(current);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_TRUE(exists(folder));
    EXPECT_FALSE(heldOpen());
}

// A folder deleted while another program holds it, sharing its deletion, keeps its name
// until that program closes it where the system lacks POSIX delete semantics (Wine 8); it
// is never taken for removed while it is still there.
TEST(UninstallFiles, AFolderWhoseNameOutlivesItsDeletionGoesAtTheNextLogon) {
    const std::wstring folder = newFolder(L"outlives");
    HANDLE watcher = CreateFileW(folder.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(watcher, INVALID_HANDLE_VALUE);
    RemovalOutcome outcome;
    const std::optional<FolderFate> fate = removeFolder(folder, outcome);
    const bool gone = !exists(folder) && GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(watcher);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(fate, gone ? FolderFate::Removed : FolderFate::AtNextLogon);
    EXPECT_EQ(gone, !runtimeIs("wine8")) << "POSIX delete semantics where the runtime has them";
    EXPECT_FALSE(exists(folder));
}

// Without POSIX semantics a deleted file keeps its name while a scanner that shares its
// deletion holds it; the plain delete of older systems shows that on every runtime.
TEST(UninstallFiles, AFolderThatListsOnlyDeletedFilesGoesAtTheNextLogon) {
    const std::wstring folder = newFolder(L"pending");
    const std::wstring file = folder + L"Brinet.exe";
    writeFile(file, "x");
    HANDLE scanner = CreateFileW(file.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    HANDLE deleting = CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    ASSERT_NE(deleting, INVALID_HANDLE_VALUE);
    FILE_DISPOSITION_INFO disposition{TRUE};
    ASSERT_TRUE(SetFileInformationByHandle(deleting, FileDispositionInfo, &disposition,
                                           sizeof(disposition)));
    CloseHandle(deleting);
    ASSERT_TRUE(exists(file)) << "the name went with the deleting handle";
    RemovalOutcome outcome;
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::KeptForUser);
    outcome.deletedFiles.push_back(file);
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::AtNextLogon);
    CloseHandle(scanner);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(removeFolder(folder, outcome), FolderFate::Removed);
}

class UninstallShortcuts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(UninstallShortcuts, RemovesLinksIntoTheFolderAndTheEmptyStartMenuFolder) {
    const std::wstring programs = newFolder(L"programs-all");
    const std::wstring install = newFolder(L"install-all");
    const std::wstring menu = programs + L"Velkaris\\";
    ASSERT_TRUE(CreateDirectoryW(menu.c_str(), nullptr));
    for (const wchar_t* name : {L"Brinet", L"Notarel", L"Packrill"}) {
        writeFile(install + name + L".exe", "x");
        ASSERT_EQ(
            createShortcut((install + name + L".exe").c_str(), (menu + name + L".lnk").c_str()),
            S_OK);
    }
    DeleteFileW((install + L"Packrill.exe").c_str());  // a link whose program is gone still goes
    RemovalOutcome outcome;
    removeShortcuts(programs.substr(0, programs.size() - 1), install, outcome);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_EQ(outcome.deletedFiles.size(), 3u);
    EXPECT_EQ(folderEntries(menu), std::vector<std::wstring>{});
    EXPECT_EQ(packShortcutFolder(programs.substr(0, programs.size() - 1)) + L"\\", menu);
}

TEST_F(UninstallShortcuts, KeepsLinksThatLeadElsewhereOrCannotBeRead) {
    const std::wstring programs = newFolder(L"programs-kept");
    const std::wstring install = newFolder(L"install-kept");
    const std::wstring other = newFolder(L"other-kept");
    const std::wstring menu = programs + L"Velkaris\\";
    ASSERT_TRUE(CreateDirectoryW(menu.c_str(), nullptr));
    writeFile(install + L"Brinet.exe", "x");
    writeFile(other + L"Padwick.exe", "x");
    ASSERT_EQ(createShortcut((install + L"Brinet.exe").c_str(), (menu + L"Brinet.lnk").c_str()),
              S_OK);
    ASSERT_EQ(createShortcut((other + L"Padwick.exe").c_str(), (menu + L"Padwick.lnk").c_str()),
              S_OK);
    writeFile(menu + L"Notarel.lnk", "not a shortcut");
    RemovalOutcome outcome;
    removeShortcuts(programs, install, outcome);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(exists(menu + L"Brinet.lnk"));
    EXPECT_TRUE(exists(menu + L"Padwick.lnk"));
    EXPECT_TRUE(exists(menu + L"Notarel.lnk"));
}

TEST_F(UninstallShortcuts, NothingToDoWithoutAStartMenuFolder) {
    RemovalOutcome outcome;
    removeShortcuts(newFolder(L"programs-none"), L"C:\\Apps\\Velkaris\\", outcome);
    removeShortcuts(L"", L"C:\\Apps\\Velkaris\\", outcome);
    EXPECT_TRUE(outcome.failures.empty());
    const std::wstring programs = userProgramsFolder();
    EXPECT_FALSE(programs.empty());
    EXPECT_NE(programs.back(), L'\\');
    EXPECT_NE(GetFileAttributesW(programs.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
