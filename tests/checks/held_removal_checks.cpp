// The removal while other programs hold what it removes: what Wine can only imitate and
// Windows shows. Each check installs, holds, removes, and then removes again once nothing
// holds, so that nothing is left.
#include <windows.h>

#include <algorithm>

#include "tests/checks/installation_expectations.h"
#include "tests/checks/installation_guard.h"
#include "tests/checks/installer_checks.h"
#include "tests/checks/installer_driver.h"
#include "tests/checks/leftover_snapshot.h"
#include "tests/checks/removal_scenarios.h"
#include "tests/checks/system_kind.h"
#include "tests/checks/user_places.h"
#include "tests/checks/window_reading.h"
#include "tests/win/test_registry.h"

namespace {

constexpr wchar_t Registration[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris";

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// DESTINATION without its trailing backslash, as a command names the folder.
std::wstring withoutBackslash(const std::wstring& destination)
{
    return destination.substr(0, destination.size() - 1);
}

// The removal once nothing holds: everything goes, and after the sign-in nothing is left.
void removeTheRest(CheckRun& run, const std::wstring& destination, const Snapshot& before)
{
    if (exists(destination + L"uninstall.exe")) {
        const UninstallResult again = runSilently(run, destination + L"uninstall.exe");
        run.expect(again.exitCode == Removed, L"once nothing holds, uninstall.exe /S gave " +
                                                  exitCodeName(again.exitCode) + L": " + again.errors);
    }
    expectNothingLeftAfterSignIn(run, before);
}

// The removal of a folder another program holds: everything else goes, and the folder,
// emptied, at the next sign-in through a RunOnce value.
void expectFolderLeftForSignIn(CheckRun& run, const std::wstring& destination,
                               const UninstallResult& result)
{
    run.expect(result.exitCode == RemovedAtNextSignIn,
               L"uninstall.exe /S gave " + exitCodeName(result.exitCode) + L", not " +
                   exitCodeName(RemovedAtNextSignIn) + L": " + result.errors);
    run.expect(result.errors == L"Velkaris App Pack (Single User) was removed.\n\nThe folder " +
                                    destination + L" is still in use by another program. It will "
                                    L"be removed the next time you sign in to Windows.",
               L"standard error says: " + result.errors);
    run.expect(exists(destination) && folderListing(destination).empty(),
               L"the held folder is not there and empty: \"" + folderListing(destination) + L"\"");
    run.expect(!keyExists(Registration), L"the uninstall registration is still there");
    run.expect(!keyExists(L"Software\\Velkaris"), L"HKCU\\Software\\Velkaris is still there");
    const std::wstring removal =
        commandProcessor() + L" /d /v:off /c rd " + quoted(withoutBackslash(destination));
    const std::vector<RunOnceValue> values = runOnceValues();
    const bool arranged = std::any_of(values.begin(), values.end(), [&](const RunOnceValue& value) {
        return value.command == removal;
    });
    // A path with % is quoted in parts (cmd expands %NAME% even inside quotes); its
    // command is judged by what the sign-in does with it.
    run.expect(arranged || destination.find(L'%') != std::wstring::npos,
               L"no RunOnce value removes the folder with " + removal);
    run.log(L"only the emptied folder is left, until the next sign-in");
}

}  // namespace

void checkUninstallerHeld(CheckRun& run)
{
    const InstalledPack pack(run);
    const std::wstring& destination = pack.destination;
    const Snapshot installed = takeSnapshot(run);
    {
        ChildProcess holder =
            holdFault(run, L"file-shared-read", destination + L"uninstall.exe");
        const UninstallResult result = runSilently(run, destination + L"uninstall.exe");
        run.expect(result.exitCode == Incomplete, L"uninstall.exe held: exit code " +
                                                      exitCodeName(result.exitCode));
        run.expect(result.errors == L"Another program holds " + destination +
                                        L"uninstall.exe open, so it could not be removed. Close "
                                        L"that program and run the uninstaller again. Nothing "
                                        L"was removed.",
                   L"standard error says: " + result.errors);
        const std::wstring changed = snapshotDifferences(installed, takeSnapshot(run));
        run.expect(changed.empty(), L"uninstall.exe held, yet the removal changed: " + changed);
    }
    removeTheRest(run, destination, pack.before);
}

void checkApplicationRunning(CheckRun& run)
{
    const InstalledPack pack(run);
    const std::wstring& destination = pack.destination;
    {
        ChildProcess notarel = startCommand(run, quoted(destination + L"Notarel.exe"));
        HWND window = nullptr;
        run.require(waitFor([&] { return (window = processWindow(notarel.id(), L"Notarel")) != nullptr; },
                            60000),
                    L"Notarel shows no window within 60 s");
        const UninstallResult result = runSilently(run, destination + L"uninstall.exe");
        run.expect(result.exitCode == Incomplete, L"with Notarel running: exit code " +
                                                      exitCodeName(result.exitCode));
        run.expect(result.errors.find(L"Could not remove " + destination + L"Notarel.exe: ") !=
                           std::wstring::npos &&
                       result.errors.find(L"The uninstaller was kept.") != std::wstring::npos,
                   L"standard error does not name Notarel.exe and the kept uninstaller: " +
                       result.errors);
        run.expect(folderListing(destination) == L"Notarel.exe uninstall.exe",
                   L"left in the folder: \"" + folderListing(destination) + L"\", not Notarel.exe and "
                   L"uninstall.exe");
        run.expect(!exists(menuFolder()), L"the Start-menu folder is still there");
        run.expect(!keyExists(L"Software\\Classes\\.ntxt") && !keyExists(L"Software\\Classes\\Notarel.Document"),
                   L"Notarel's file type is still registered");
        run.expect(keyExists(Registration) && keyExists(L"Software\\Velkaris"),
                   L"the registration or AppPath went, though the uninstaller was kept");
        pressFor(run, window, {VK_F4, true}, L"Alt+F4 closes Notarel",
                 [&] { return !notarel.running(); });
    }
    removeTheRest(run, destination, pack.before);
}

void checkFolderInUse(CheckRun& run)
{
    const InstalledPack pack(run);
    const std::wstring& destination = pack.destination;
    {
        ChildProcess prompt = holdFault(run, L"current-folder", destination);
        expectFolderLeftForSignIn(run, destination, runSilently(run, destination + L"uninstall.exe"));
    }
    removeTheRest(run, destination, pack.before);
}

void checkScannerHolds(CheckRun& run)
{
    const InstalledPack pack(run);
    const std::wstring& destination = pack.destination;
    // With POSIX delete semantics (Windows 10 1607 and later on NTFS, Wine 10) a deleted
    // file's name goes at once, whoever holds it; without, it stays until the holder closes it.
    const SystemKind& system = thisSystem();
    DWORD flags = 0;
    GetVolumeInformationW((destination.substr(0, 3)).c_str(), nullptr, 0, nullptr, nullptr, &flags,
                          nullptr, 0);
    constexpr DWORD PosixUnlinkRename = 0x00000400;  // FILE_SUPPORTS_POSIX_UNLINK_RENAME
    const bool posix = system.wine ? system.wineMajor >= 10 : (flags & PosixUnlinkRename) != 0;
    run.note(wide(system.description) +
             (posix ? L": POSIX delete semantics, exit code 0 and the folder goes at once"
                    : L": no POSIX delete semantics, exit code 4 and the name stays until the "
                      L"scanner closes the file"));
    {
        ChildProcess scanner = holdFault(run, L"file-shared-delete", destination + L"Brinet.exe");
        const UninstallResult result = runSilently(run, destination + L"uninstall.exe");
        if (posix) {
            run.expect(result.exitCode == Removed, L"with the scanner: exit code " +
                                                       exitCodeName(result.exitCode) + L": " +
                                                       result.errors);
            run.expect(!exists(destination), L"with the scanner: the folder is still there");
        } else {
            run.expect(result.exitCode == RemovedAtNextSignIn, L"with the scanner: exit code " +
                                                                   exitCodeName(result.exitCode) +
                                                                   L": " + result.errors);
            run.expect(folderListing(destination) == L"Brinet.exe",
                       L"with the scanner: the folder lists \"" + folderListing(destination) + L"\"");
        }
    }
    removeTheRest(run, destination, pack.before);
}

void checkSpecialFolderPath(CheckRun& run)
{
    // %USERNAME% expands wherever cmd meets it, quoted or not; a decoy folder named as the
    // expansion must survive the sign-in's removal of the real one.
    const std::wstring name = L"Velkaris 100% & ^ ! (%USERNAME%)";
    wchar_t user[256] = {};
    GetEnvironmentVariableW(L"USERNAME", user, 256);
    const std::wstring destination = userPlaces().appData + L"\\" + name + L"\\";
    const std::wstring decoy = userPlaces().appData + L"\\Velkaris 100% & ^ ! (" + user + L")";
    const Snapshot before = takeSnapshot(run);
    InstallationGuard guard(run, destination);
    run.require(CreateDirectoryW(destination.c_str(), nullptr) && CreateDirectoryW(decoy.c_str(), nullptr),
                L"cannot create " + destination + L" and " + decoy);
    const std::wstring appPath = destination;
    run.require(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Velkaris", L"AppPath", REG_SZ,
                                appPath.c_str(),
                                static_cast<DWORD>((appPath.size() + 1) * sizeof(wchar_t))) ==
                    ERROR_SUCCESS,
                L"cannot point AppPath at " + destination);
    installWithDefaults(run);
    expectInstalledFiles(run, destination);
    {
        ChildProcess prompt = holdFault(run, L"current-folder", destination);
        expectFolderLeftForSignIn(run, destination, runSilently(run, destination + L"uninstall.exe"));
    }
    playSignIn(run);
    run.expect(!exists(destination), L"the sign-in did not remove " + destination);
    run.expect(exists(decoy), L"the sign-in removed " + decoy + L" instead of " + destination);
    RemoveDirectoryW(decoy.c_str());
    removeTheRest(run, destination, before);
}
