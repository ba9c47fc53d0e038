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
constexpr std::wstring_view ReadOnlyFolder =
    L"It is read-only. Clear its read-only attribute and run the uninstaller again.";
constexpr std::wstring_view DeletionDenied =
    L"Its permissions do not allow you to delete it. Ask the owner of the computer to allow "
    L"it, then run the uninstaller again.";

// Notes the fates that keep a folder for good as failures; true for the others.
bool acceptable(FolderFate fate, const std::wstring& folder, RemovalOutcome& outcome)
{
    switch (fate) {
    case FolderFate::ReadOnly:
        noteFailure(outcome, folder, ReadOnlyFolder);
        return false;
    case FolderFate::DeletionDenied:
        noteFailure(outcome, folder, DeletionDenied);
        return false;
    case FolderFate::AtNextLogon:
        if (!logonRemovalCommand(folder, FolderRemoval::IfEmpty)) {
            noteFailure(outcome, folder, HeldTooLong);
            return false;
        }
        return true;
    case FolderFate::Removed:
    case FolderFate::KeptForUser:
        return true;
    }
    return true;
}

// The fate of the installation folder once the original's file has moved out, judged as it
// is now; a folder that is missing or cannot be inspected is judged when it is removed.
FolderFate foreseenFate(const std::wstring& folder, const Installation& installation,
                        const RemovalOutcome& outcome)
{
    DWORD error = ERROR_SUCCESS;
    std::optional<FolderState> state = inspectFolder(folder, error);
    if (!state) {
        return FolderFate::Removed;
    }
    std::erase_if(state->listed, [&](const std::wstring& entry) {
        return samePath(entry, installation.uninstaller);
    });
    return folderFate(*state, outcome.deletedFiles);
}

// Arranges the folder's removal at the next logon under the value name; false, with a
// failure noted, when that cannot be done.
bool removeLater(const std::wstring& folder, const std::wstring& name, RemovalOutcome& outcome)
{
    const DWORD error = removeAtNextLogon(name, folder, FolderRemoval::IfEmpty);
    if (error != ERROR_SUCCESS) {
        noteFailure(outcome, folder,
                    L"It is in use by another program, and its removal at the next sign-in "
                    L"could not be arranged: " +
                        systemMessage(error));
    }
    return error == ERROR_SUCCESS;
}

// Removes the folder when it is empty, or arranges its removal at the next logon under the
// value name when another program still holds it. Returns its fate, or nothing when it
// stays for another reason (noted as a failure).
std::optional<FolderFate> settleFolder(const std::wstring& folder, const std::wstring& name,
                                       RemovalOutcome& outcome)
{
    const std::optional<FolderFate> fate = removeFolder(folder, outcome);
    if (!fate || !acceptable(*fate, folder, outcome)) {
        return std::nullopt;
    }
    if (fate != FolderFate::AtNextLogon) {
        return fate;
    }
    if (!removeLater(folder, name, outcome)) {
        return std::nullopt;
    }
    outcome.foldersAtNextLogon.push_back(folder);
    return fate;
}

// Removes the registration and AppPath; true when nothing of them stays.
bool removeRegistration(const Installation& installation, RemovalOutcome& outcome)
{
    const size_t failures = outcome.failures.size();
    applyRegistrySteps(planRegistration(UserRegistry{}, installation), outcome);
    return outcome.failures.size() == failures;
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

bool removeInstallation(const UninstallRequest& request, const Installation& installation,
                        const PackFolders& folders, const std::wstring& movedOriginal,
                        const std::wstring& cleanupName, RemovalOutcome& outcome)
{
    if (!originalIsAtItsPath(request)) {
        noteFailure(outcome, installation.uninstaller,
                    L"It is a link to another file, which the uninstaller leaves alone.");
        outcome.uninstallerKept = true;
        return false;
    }
    // A folder that is to go at the next logon has that arranged before anything of the
    // installation that cannot be put back goes; the value is withdrawn once it goes now.
    const std::wstring& folder = folders.installation;
    const std::wstring logonName = cleanupName + L"-installation";
    const FolderFate foreseen = foreseenFate(folder, installation, outcome);
    if (!acceptable(foreseen, folder, outcome) ||
        (foreseen == FolderFate::AtNextLogon && !removeLater(folder, logonName, outcome))) {
        outcome.uninstallerKept = true;
        return false;
    }
    const auto keepUninstaller = [&] {
        outcome.uninstallerKept = true;
        if (foreseen == FolderFate::AtNextLogon) {
            cancelRemovalAtNextLogon(logonName);
        }
        return false;
    };
    const DWORD error = moveOriginal(request, movedOriginal);
    if (error != ERROR_SUCCESS) {
        noteFailure(outcome, installation.uninstaller,
                    L"It could not be moved out of the folder while it runs: " +
                        systemMessage(error));
        return keepUninstaller();
    }
    // A registration that stays keeps the uninstaller, moved back to its place.
    if (!removeRegistration(installation, outcome) &&
        moveOriginal(request, installation.uninstaller) == ERROR_SUCCESS) {
        return keepUninstaller();
    }
    const std::optional<FolderFate> fate = settleFolder(folder, logonName, outcome);
    outcome.folderKept = fate == FolderFate::KeptForUser;
    if (foreseen == FolderFate::AtNextLogon && fate != FolderFate::AtNextLogon) {
        cancelRemovalAtNextLogon(logonName);
    }
    return true;
}
