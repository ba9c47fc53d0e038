#include "uninstall/removal_steps.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "uninstall/command_paths.h"
#include "uninstall/file_removal.h"
#include "uninstall/logon_cleanup.h"
#include "uninstall/original_handles.h"
#include "uninstall/packed_applications.h"
#include "uninstall/registry_removal.h"
#include "uninstall/shortcut_removal.h"
#include "uninstall/user_messages.h"

namespace {

constexpr std::wstring_view HeldTooLong =
    L"It is in use by another program, and its path is too long to remove it at the next "
    L"sign-in.";

// The fate of a folder once the original's file is deleted too, judged as it is now; a
// folder that is missing or cannot be listed is judged when it is removed.
FolderFate expectedFate(const std::wstring& folder, const RemovalOutcome& outcome,
                        const std::wstring& original)
{
    std::optional<std::vector<std::wstring>> entries = folderEntries(folder);
    if (!entries) {
        return FolderFate::Removed;
    }
    std::erase_if(*entries, [&](const std::wstring& entry) { return samePath(entry, original); });
    return folderFate(folderHeldOpen(folder), *entries, outcome.deletedFiles);
}

// Removes the folder when it is empty, or arranges its removal at the next logon under the
// value name when another program still holds it. Returns its fate, or nothing when it
// stays for another reason (noted as a failure).
std::optional<FolderFate> settleFolder(const std::wstring& folder, const std::wstring& name,
                                       RemovalOutcome& outcome)
{
    const std::optional<FolderFate> fate = removeFolder(folder, outcome);
    if (fate != FolderFate::AtNextLogon) {
        return fate;
    }
    const DWORD error = removeAtNextLogon(name, folder, FolderRemoval::IfEmpty);
    if (error == ERROR_FILENAME_EXCED_RANGE) {
        noteFailure(outcome, folder, HeldTooLong);
    } else if (error != ERROR_SUCCESS) {
        noteFailure(outcome, folder,
                    L"It is in use by another program, and its removal at the next sign-in "
                    L"could not be arranged: " +
                        systemMessage(error));
    } else {
        outcome.foldersAtNextLogon.push_back(folder);
    }
    return fate;
}

}  // namespace

PackFolders packFoldersOf(const Installation& installation)
{
    std::wstring shortcuts = packShortcutFolder(userProgramsFolder());
    if (!shortcuts.empty()) {
        shortcuts += L'\\';
    }
    return {installation.folder, shortcuts};
}

RemovalOutcome removeContents(const Installation& installation, const PackFolders& folders,
                              const std::wstring& cleanupName)
{
    RemovalOutcome outcome;
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    removeShortcuts(userProgramsFolder(), installation.folder, outcome);
    if (comReady) {
        CoUninitialize();
    }
    if (!folders.shortcuts.empty()) {
        settleFolder(folders.shortcuts, cleanupName + L"-start-menu", outcome);
    }
    removeApplications(installation.folder, packedApplications(), outcome);
    const std::vector<RegistryStep> fileTypes = planFileTypes(UserRegistry{}, installation);
    applyRegistrySteps(fileTypes, outcome);
    if (!fileTypes.empty()) {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    return outcome;
}

RemovalOutcome expectedOutcome(const RemovalOutcome& outcome, const Installation& installation,
                               const PackFolders& folders)
{
    RemovalOutcome expected = outcome;
    const std::wstring& folder = folders.installation;
    if (expectedFate(folder, outcome, installation.uninstaller) != FolderFate::AtNextLogon) {
        return expected;
    }
    if (logonRemovalCommand(folder, FolderRemoval::IfEmpty)) {
        expected.foldersAtNextLogon.push_back(folder);
    } else {
        noteFailure(expected, folder, HeldTooLong);
    }
    return expected;
}

void finishRemoval(const UninstallRequest& request, const Installation& installation,
                   const PackFolders& folders, const std::wstring& cleanupName,
                   RemovalOutcome& outcome)
{
    if (!waitForOriginal(request.originalProcess)) {
        noteFailure(outcome, installation.uninstaller,
                    L"The uninstaller that was started did not end.");
        outcome.uninstallerKept = true;
        return;
    }
    if (!removeOriginal(request, outcome)) {
        outcome.uninstallerKept = true;
        return;
    }
    applyRegistrySteps(planRegistration(UserRegistry{}, installation), outcome);
    outcome.folderKept = settleFolder(folders.installation, cleanupName + L"-installation",
                                      outcome) == FolderFate::KeptForUser;
}
