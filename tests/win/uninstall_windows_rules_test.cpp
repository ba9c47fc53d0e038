// What Windows enforces and Wine does not, for the uninstaller's disk edge: a symbolic
// link in place of an application and a junction in place of the installation folder go
// as links, and what they point at stays. Wine makes neither kind of link
// (CreateSymbolicLinkW does nothing, FSCTL_SET_REPARSE_POINT is refused), so these checks
// run on Windows only; under Wine the end-to-end test uninstall_user_files gives an
// application a Unix symbolic link, which Wine follows even when told not to.
#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <cstring>

#include "tests/win/install_test_files.h"
#include "tests/win/test_runtime.h"
#include "tests/win/uninstall_test_programs.h"
#include "uninstall/file_removal.h"

namespace {

constexpr char WineMakesNone[] = "Wine makes no symbolic links or junctions";

// Makes folder (which must exist, empty) a junction to target, as mklink /j does.
bool makeJunction(const std::wstring& folder, const std::wstring& target)
{
    const std::wstring substitute = L"\\??\\" + target;
    const size_t bytes = substitute.size() * sizeof(wchar_t);
    struct {
        DWORD tag;
        WORD dataLength, reserved, substituteOffset, substituteLength, printOffset, printLength;
        wchar_t names[512];
    } point{IO_REPARSE_TAG_MOUNT_POINT, 0, 0, 0, static_cast<WORD>(bytes),
            static_cast<WORD>(bytes + sizeof(wchar_t)), 0, {}};
    std::memcpy(point.names, substitute.c_str(), bytes);
    point.dataLength = static_cast<WORD>(8 + bytes + 2 * sizeof(wchar_t));
    HANDLE handle = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD returned = 0;
    const bool made = DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, &point,
                                      8 + point.dataLength, nullptr, 0, &returned, nullptr);
    CloseHandle(handle);
    return made;
}

TEST(UninstallWindowsRules, LinksGoAsLinksAndWhatTheyPointAtStays) {
    if (underWine()) {
        GTEST_SKIP() << WineMakesNone;
    }
    const std::wstring elsewhere = freshFolder(L"uninstall-elsewhere");
    const std::wstring real = freshFolder(L"uninstall-real");
    const std::wstring installed = freshFolder(L"uninstall-junction");
    writeFile(elsewhere + L"Brinet.exe", "x");  // the very program the pack installs
    writeFile(real + L"Tunewell.exe", "x");
    if (!CreateSymbolicLinkW((real + L"Brinet.exe").c_str(), (elsewhere + L"Brinet.exe").c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
        GTEST_SKIP() << "symbolic links need an administrator or Developer Mode: "
                     << GetLastError();
    }
    ASSERT_TRUE(makeJunction(installed, real.substr(0, real.size() - 1))) << GetLastError();
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
