#include "tests/checks/installation_guard.h"

#include <windows.h>

#include <utility>

#include "tests/checks/folder_removal.h"
#include "tests/checks/uninstaller_runs.h"
#include "tests/checks/user_places.h"

namespace {

const wchar_t* const PackKeys[] = {
    L"Software\\Velkaris",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris",
    L"Software\\Classes\\.ntxt",
    L"Software\\Classes\\.lbx",
    L"Software\\Classes\\.pkr",
    L"Software\\Classes\\Notarel.Document",
    L"Software\\Classes\\LockBin.File",
    L"Software\\Classes\\Packrill.File",
    L"Software\\Classes\\Directory\\shell\\Tunewell",
    L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell"};

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes what the uninstaller and the sign-in left, naming each in the log.
void scrub(CheckRun& run, const std::wstring& destination)
{
    for (const std::wstring& folder : {destination, menuFolder()}) {
        if (exists(folder)) {
            run.log(L"removing what stayed: " + folder);
            removeFolderTree(folder);
        }
    }
    for (const std::wstring& folder : helperFolders()) {
        run.log(L"removing what stayed: " + folder);
        removeFolderTree(folder);
    }
    for (const wchar_t* key : PackKeys) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) == ERROR_SUCCESS) {
            RegCloseKey(opened);
            run.log(L"removing what stayed: HKCU\\" + std::wstring(key));
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
            RegDeleteKeyW(HKEY_CURRENT_USER, key);
        }
    }
    for (const RunOnceValue& value : runOnceValues()) {
        if (value.name.rfind(L"Velkaris", 0) == 0) {
            run.log(L"removing what stayed: the RunOnce value " + value.name);
            RegDeleteKeyValueW(HKEY_CURRENT_USER,
                               L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                               value.name.c_str());
        }
    }
}

}  // namespace

InstallationGuard::InstallationGuard(CheckRun& check, std::wstring folder)
    : run(check), destination(std::move(folder))
{
}

InstallationGuard::~InstallationGuard()
{
    try {
        const std::wstring uninstaller = destination + L"uninstall.exe";
        if (exists(uninstaller)) {
            runSilently(run, uninstaller);
        }
        playSignIn(run);
        scrub(run, destination);
    } catch (const CheckStopped&) {
        scrub(run, destination);
    }
}
