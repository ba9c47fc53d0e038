#include "uninstall/uninstall_run.h"

#include <windows.h>

#include "uninstall/command_paths.h"
#include "uninstall/concurrent_runs.h"
#include "uninstall/helper_copy.h"
#include "uninstall/helper_process.h"
#include "uninstall/logon_cleanup.h"
#include "uninstall/original_handles.h"
#include "uninstall/registry_removal.h"
#include "uninstall/removal_steps.h"
#include "uninstall/user_messages.h"

namespace {

// This program's own path, in its long form.
std::wstring ownPath()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    std::wstring longPath(32768, L'\0');
    const DWORD longLength =
        GetLongPathNameW(path.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    if (longLength == 0 || longLength >= longPath.size()) {
        return path;
    }
    longPath.resize(longLength);
    return longPath;
}

Installation installationOf(const std::wstring& uninstaller)
{
    return {std::wstring(folderOf(uninstaller)), uninstaller};
}

void tell(bool silent, MessageKind kind, std::wstring_view text)
{
    tellUser(silent, kind, UninstallCaption, text);
}

MessageKind kindOf(const RemovalOutcome& outcome)
{
    switch (exitCodeOf(outcome)) {
    case ExitCode::Removed:
        return MessageKind::Information;
    case ExitCode::RemovedAtNextLogon:
        return MessageKind::Warning;
    default:
        return MessageKind::Problem;
    }
}

// Why the uninstaller could not lock its own file, or claim the removal.
std::wstring lockProblem(const Installation& installation, DWORD error)
{
    if (error == ERROR_ALREADY_EXISTS) {
        std::wstring text = L"Another uninstaller is already removing ";
        text += ProductName;
        text += L" from ";
        text += installation.folder;
        text += L". Nothing was removed.";
        return text;
    }
    if (error == ERROR_SHARING_VIOLATION) {
        return L"Another program holds " + installation.uninstaller +
               L" open, so it could not be removed. Close that program and run the "
               L"uninstaller again. Nothing was removed.";
    }
    return L"The uninstaller could not open its own file " + installation.uninstaller + L": " +
           systemMessage(error) + L" Nothing was removed.";
}

// Asks once (unless silent) and hands the work to the helper.
ExitCode confirmAndRemove(const Installation& installation, HANDLE ownFile, bool silent)
{
    if (!silent) {
        std::wstring question = L"Remove ";
        question += ProductName;
        question += L" and all of its applications from ";
        question += installation.folder;
        question += L"?";
        if (!askYesNo(UninstallCaption, question)) {
            return ExitCode::Cancelled;
        }
    }
    std::wstring problem;
    const ExitCode result =
        runThroughHelper(installation.uninstaller, ownFile, silent, problem);
    if (!problem.empty()) {
        tell(silent, MessageKind::Problem, problem + L" Nothing was removed.");
    }
    return result;
}

// Locks the uninstaller's file and claims the removal, then goes on.
ExitCode lockAndRemove(const Installation& installation, bool silent)
{
    DWORD error = ERROR_SUCCESS;
    const HANDLE ownFile = lockUninstaller(installation.uninstaller, error);
    if (ownFile == INVALID_HANDLE_VALUE) {
        tell(silent, MessageKind::Problem, lockProblem(installation, error));
        return ExitCode::Incomplete;
    }
    const HANDLE claim = claimRemoval(ownFile, error);
    ExitCode result = ExitCode::Incomplete;
    if (claim == nullptr) {
        tell(silent, MessageKind::Problem, lockProblem(installation, error));
    } else {
        result = confirmAndRemove(installation, ownFile, silent);
        CloseHandle(claim);
    }
    CloseHandle(ownFile);
    return result;
}

}  // namespace

ExitCode runOriginal(bool silent)
{
    // A current folder in the installation, inherited from a command prompt, would keep the
    // folder from being removed.
    SetCurrentDirectoryW(systemFolder().c_str());
    const Installation installation = installationOf(ownPath());
    if (!isInstalledHere(UserRegistry{}, installation)) {
        std::wstring text = L"The folder ";
        text += installation.folder;
        text += L" holds no installation of ";
        text += ProductName;
        text += L": neither the value AppPath nor the entry in the list of installed programs "
                L"names it. Nothing was removed.";
        tell(silent, MessageKind::Problem, text);
        return ExitCode::Refused;
    }
    if (installerIsOpen()) {
        std::wstring text = L"The installer of ";
        text += ProductName;
        text += L" is open. Close it and run the uninstaller again. Nothing was removed.";
        tell(silent, MessageKind::Problem, text);
        return ExitCode::Incomplete;
    }
    return lockAndRemove(installation, silent);
}

bool comesFromItsOriginal(const UninstallRequest& request)
{
    return handlesComeFromOriginal(request) &&
           isInstalledHere(UserRegistry{}, installationOf(request.original));
}

ExitCode runHelper(const UninstallRequest& request)
{
    const Installation installation = installationOf(request.original);
    const PackFolders folders = packFoldersOf(installation);
    const std::wstring helper = ownPath();
    const std::wstring cleanupName = helperCleanupName(helper);
    const std::wstring movedOriginal = std::wstring(folderOf(helper)) + L"original.exe";
    RemovalOutcome outcome = removeContents(installation, folders, cleanupName);
    // Whatever stays now keeps the uninstaller and its registration, so that it can run
    // again.
    bool moved = false;
    if (outcome.failures.empty()) {
        moved = removeInstallation(request, installation, folders, movedOriginal, cleanupName,
                                   outcome);
    } else {
        outcome.uninstallerKept = true;
    }
    // The exit code tells what is settled by now; a silent run's report comes before it, so
    // that a script that waits for the original finds it on standard error.
    const ExitCode result = exitCodeOf(outcome);
    const std::wstring report = describeOutcome(outcome, installation.folder);
    if (request.silent) {
        tell(true, kindOf(outcome), report);
    }
    sendResult(request.resultPipe, result);
    if (!request.silent) {
        tell(false, kindOf(outcome), report);
    }
    if (moved) {
        discardOriginal(request, movedOriginal);
    }
    return result;
}
