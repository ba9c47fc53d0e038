// How the original hands the removal to its helper: the identity of files, the lock on the
// uninstaller's file and the claim that keeps a second uninstaller out, the helper's copy
// in a folder of its own, and the removals arranged for the next logon.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "tests/win/test_cleanup.h"
#include "uninstall/concurrent_runs.h"
#include "uninstall/file_identity.h"
#include "uninstall/helper_copy.h"
#include "uninstall/logon_cleanup.h"
#include "uninstall/original_handles.h"
#include "uninstall/registry_removal.h"

namespace {

const bool testRootRemoved = removedAfterTheTests(L"C:\\velkaris-handoff-tests");

constexpr wchar_t RunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A new file C:\velkaris-handoff-tests\<name> holding text.
std::wstring newFile(const std::wstring& name, const char* text)
{
    CreateDirectoryW(L"C:\\velkaris-handoff-tests", nullptr);
    const std::wstring path = L"C:\\velkaris-handoff-tests\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "left over from an earlier run: " << path;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
    return path;
}

HANDLE openShared(const std::wstring& path, DWORD access, DWORD share)
{
    return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::optional<std::wstring> runOnceValue(const std::wstring& name)
{
    return UserRegistry{}.readText(RunOnceKey, name);
}

TEST(UninstallHandoff, EveryNameOfAFileHasItsIdentityAndNoOtherFileHasIt) {
    const std::wstring file = newFile(L"identity.exe", "x");
    const std::wstring link = L"C:\\velkaris-handoff-tests\\identity-link.exe";
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), file.c_str(), nullptr));
    const std::optional<FileIdentity> identity = identityOf(file);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identityOf(link), identity);
    EXPECT_NE(identityOf(newFile(L"identity-other.exe", "x")), identity);
    EXPECT_EQ(identityOf(L"C:\\velkaris-handoff-tests\\missing.exe"), std::nullopt);
}

// Sharing deletion lets a second lock in, so the claim is what keeps it out; the lock keeps
// writers and programs that do not share deletion away.
TEST(UninstallHandoff, TheLockSharesDeletionAndTheClaimKeepsASecondUninstallerOut) {
    const std::wstring uninstaller = newFile(L"lock-uninstall.exe", "x");
    DWORD error = ERROR_SUCCESS;
    const HANDLE lock = lockUninstaller(uninstaller, error);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE) << error;
    EXPECT_EQ(openShared(uninstaller, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(openShared(uninstaller, GENERIC_READ, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    const HANDLE deleter = openShared(uninstaller, DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE);
    EXPECT_NE(deleter, INVALID_HANDLE_VALUE);
    CloseHandle(deleter);

    const HANDLE claim = claimRemoval(lock, error);
    ASSERT_NE(claim, nullptr) << error;
    const HANDLE second = lockUninstaller(uninstaller, error);
    ASSERT_NE(second, INVALID_HANDLE_VALUE) << error;
    EXPECT_EQ(claimRemoval(second, error), nullptr);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(claim);
    const HANDLE later = claimRemoval(second, error);
    EXPECT_NE(later, nullptr) << error;
    CloseHandle(later);
    CloseHandle(second);
    CloseHandle(lock);

    const HANDLE scanner = openShared(uninstaller, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    EXPECT_EQ(lockUninstaller(uninstaller, error), INVALID_HANDLE_VALUE);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(scanner);
}

// A running program's file cannot be deleted, but it moves on its volume through a handle
// with delete access: the helper moves the original's file out of the installation folder
// while the original waits for the result, and deletes it once the original has ended.
TEST(UninstallHandoff, ARunningProgramsFileMovesOutThroughItsHandleAndGoesOnceItEnds) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::wstring program = L"C:\\velkaris-handoff-tests\\running.exe";
    CreateDirectoryW(L"C:\\velkaris-handoff-tests", nullptr);
    ASSERT_TRUE(CopyFileW(self, program.c_str(), TRUE)) << "left over from an earlier run";
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED, nullptr, nullptr, &startup, &process));
    CloseHandle(process.hThread);
    DWORD error = ERROR_SUCCESS;
    const HANDLE lock = lockUninstaller(program, error);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE) << error;
    UninstallRequest request;
    request.originalProcess = reinterpret_cast<uintptr_t>(process.hProcess);
    request.originalFile = reinterpret_cast<uintptr_t>(lock);
    request.original = program;
    EXPECT_TRUE(originalIsAtItsPath(request));

    const std::wstring moved = L"C:\\velkaris-handoff-tests\\moved\\original.exe";
    CreateDirectoryW(L"C:\\velkaris-handoff-tests\\moved", nullptr);
    ASSERT_EQ(moveOriginal(request, moved), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(exists(program));
    EXPECT_EQ(identityOf(moved), identityOf(lock));
    ASSERT_EQ(moveOriginal(request, program), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(exists(program));
    ASSERT_EQ(moveOriginal(request, moved), static_cast<DWORD>(ERROR_SUCCESS));

    TerminateProcess(process.hProcess, 0);
    discardOriginal(request, moved);
    EXPECT_FALSE(exists(moved));
}

TEST(UninstallHandoff, RemovalsAtTheNextLogonAreRunOnceValuesOfCmdsRd) {
    const std::wstring folder = L"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\\";
    ASSERT_EQ(removeAtNextLogon(L"Velkaris-test-folder", folder, FolderRemoval::IfEmpty),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(runOnceValue(L"Velkaris-test-folder"),
              L"\"" + systemFolder() +
                  L"\\cmd.exe\" /d /v:off /c rd \"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\"");
    cancelRemovalAtNextLogon(L"Velkaris-test-folder");
    EXPECT_EQ(runOnceValue(L"Velkaris-test-folder"), std::nullopt);

    const std::wstring deep = L"C:\\" + std::wstring(240, L'd');
    EXPECT_EQ(removeAtNextLogon(L"Velkaris-test-deep", deep, FolderRemoval::IfEmpty),
              static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(runOnceValue(L"Velkaris-test-deep"), std::nullopt);
}

TEST(UninstallHandoff, TheHelperCopyLivesHeldInANewFolderThatGoesAtTheNextLogon) {
    const std::wstring uninstaller = newFile(L"copy-uninstall.exe", "the uninstaller");
    const HANDLE ownFile = openShared(uninstaller, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(ownFile, INVALID_HANDLE_VALUE);
    HelperCopy first;
    HelperCopy second;
    const std::wstring installation = L"C:\\velkaris-handoff-tests\\";
    ASSERT_EQ(makeHelperCopy(ownFile, installation, first), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(makeHelperCopy(ownFile, installation, second), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(ownFile);
    EXPECT_NE(first.folder, second.folder);

    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    const std::wstring prefix = std::wstring(temporary) + L"Velkaris-uninstall-";
    EXPECT_EQ(first.folder.substr(0, prefix.size()), prefix);
    EXPECT_EQ(first.folder.size(), prefix.size() + 16);
    EXPECT_EQ(first.program, first.folder + L"\\uninstall.exe");
    EXPECT_EQ(helperCleanupName(first.program),
              first.folder.substr(std::wstring(temporary).size()));
    EXPECT_EQ(runOnceValue(helperCleanupName(first.program)),
              logonRemovalCommand(first.folder, FolderRemoval::WithContents));

    char bytes[32] = {};
    DWORD read = 0;
    ASSERT_NE(SetFilePointer(first.file, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    ASSERT_TRUE(ReadFile(first.file, bytes, sizeof(bytes), &read, nullptr));
    EXPECT_EQ(std::string(bytes, read), "the uninstaller");
    EXPECT_EQ(openShared(first.program, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE),
              INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileW(first.program.c_str()));

    const std::wstring name = helperCleanupName(first.program);
    const std::wstring folder = first.folder;
    discardHelperCopy(first);
    discardHelperCopy(second);
    EXPECT_FALSE(exists(folder));
    EXPECT_EQ(runOnceValue(name), std::nullopt);
}

}  // namespace
