// What Windows enforces and Wine does not, for the uninstaller's disk edge: a read-only
// folder and one whose permissions deny the user its deletion are seen before they are
// tried; a symbolic link in place of an application and one in place of the installation
// folder go as links (as a junction would: both are name surrogates), and what they point
// at stays. Wine keeps no read-only attribute on a folder, enforces no permissions and
// makes no links (CreateSymbolicLinkW does nothing, FSCTL_SET_REPARSE_POINT is refused),
// so these checks run on Windows only; under Wine the end-to-end tests give a folder Unix
// permissions that Wine reports as read-only (uninstall_other_drive) and an application a
// Unix symbolic link, which Wine follows even when told not to (uninstall_user_files).
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <cstring>

#include "tests/win/install_test_files.h"
#include "tests/win/test_runtime.h"
#include "tests/win/uninstall_test_programs.h"
#include "uninstall/file_removal.h"

namespace {

constexpr char WineMakesNone[] =
    "Wine keeps no read-only folders, enforces no permissions and makes no links";

// Gives the folder a DACL of its own, protected from inheritance, that allows the current
// user everything but what is left out.
DWORD allowAllBut(const std::wstring& folder, DWORD withheld)
{
    EXPLICIT_ACCESSW allow{};
    allow.grfAccessPermissions = FILE_ALL_ACCESS & ~withheld;
    allow.grfAccessMode = SET_ACCESS;
    allow.grfInheritance = NO_INHERITANCE;
    BuildTrusteeWithNameW(&allow.Trustee, const_cast<wchar_t*>(L"CURRENT_USER"));
    PACL acl = nullptr;
    DWORD error = SetEntriesInAclW(1, &allow, nullptr, &acl);
    if (error == ERROR_SUCCESS) {
        error = SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                                      DACL_SECURITY_INFORMATION |
                                          PROTECTED_DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, acl, nullptr);
    }
    LocalFree(acl);
    return error;
}

TEST(UninstallWindowsRules, AReadOnlyFolderAndOneTheUserMayNotDeleteAreSeenBeforeTheyAreTried) {
    if (underWine()) {
        GTEST_SKIP() << WineMakesNone;
    }
    const std::wstring readOnly = freshFolder(L"uninstall-read-only");
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    RemovalOutcome outcome;
    EXPECT_EQ(removeFolder(readOnly, outcome), FolderFate::ReadOnly);
    EXPECT_TRUE(folderExists(readOnly));
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(removeFolder(readOnly, outcome), FolderFate::Removed);

    // Deleting needs the right to delete the folder or to delete what its parent holds.
    const std::wstring parent = freshFolder(L"uninstall-denied");
    const std::wstring denied = parent + L"folder\\";
    ASSERT_TRUE(CreateDirectoryW(denied.c_str(), nullptr));
    ASSERT_EQ(allowAllBut(parent, FILE_DELETE_CHILD), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(allowAllBut(denied, DELETE), static_cast<DWORD>(ERROR_SUCCESS));
    DWORD error = ERROR_SUCCESS;
    const std::optional<FolderState> state = inspectFolder(denied, error);
    ASSERT_TRUE(state) << error;
    EXPECT_TRUE(state->deletionDenied);
    EXPECT_FALSE(state->heldOpen);
    EXPECT_EQ(removeFolder(denied, outcome), FolderFate::DeletionDenied);
    EXPECT_TRUE(folderExists(denied));
    ASSERT_EQ(allowAllBut(denied, 0), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(removeFolder(denied, outcome), FolderFate::Removed);
    EXPECT_TRUE(outcome.failures.empty());
    ASSERT_EQ(allowAllBut(parent, 0), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(UninstallWindowsRules, LinksGoAsLinksAndWhatTheyPointAtStays) {
    if (underWine()) {
        GTEST_SKIP() << WineMakesNone;
    }
    const std::wstring elsewhere = freshFolder(L"uninstall-elsewhere");
    const std::wstring real = freshFolder(L"uninstall-real");
    const std::wstring installed = freshFolder(L"uninstall-linked");
    RemoveDirectoryW(installed.c_str());
    writeFile(elsewhere + L"Brinet.exe", "x");  // the very program the pack installs
    writeFile(real + L"Tunewell.exe", "x");
    if (!CreateSymbolicLinkW((real + L"Brinet.exe").c_str(), (elsewhere + L"Brinet.exe").c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        GTEST_SKIP() << "symbolic links need an administrator or Developer Mode: "
                     << GetLastError();
    }
    ASSERT_TRUE(CreateSymbolicLinkW(installed.substr(0, installed.size() - 1).c_str(),
                                    real.substr(0, real.size() - 1).c_str(),
                                    SYMBOLIC_LINK_FLAG_DIRECTORY |
                                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
    ASSERT_TRUE(fileExists(installed + L"Tunewell.exe"));

    RemovalOutcome outcome;
    removeApplications(installed, InstalledAsX, outcome);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_TRUE(outcome.keptPrograms.empty());
    EXPECT_EQ(outcome.deletedFiles,
              (std::vector<std::wstring>{installed + L"Brinet.exe", installed + L"Tunewell.exe"}));
    EXPECT_EQ(GetFileAttributesW((real + L"Brinet.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(readFile(elsewhere + L"Brinet.exe"), std::vector<uint8_t>{'x'});
    EXPECT_EQ(removeFolder(installed, outcome), FolderFate::Removed);
    EXPECT_FALSE(folderExists(installed));
    EXPECT_TRUE(folderExists(real));
}

}  // namespace
