#include "uninstall/uninstall_run.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "uninstall/command_paths.h"
#include "uninstall/concurrent_runs.h"
#include "uninstall/file_removal.h"
#include "uninstall/helper_process.h"
#include "uninstall/original_handles.h"
#include "uninstall/packed_applications.h"
#include "uninstall/registry_removal.h"
#include "uninstall/shortcut_removal.h"
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

// Why the uninstaller could not lock its own file.
std::wstring lockProblem(const Installation& installation, DWORD error)
{
    if (error == ERROR_SHARING_VIOLATION) {
        std::wstring text = L"Another uninstaller is already removing ";
        text += ProductName;
        text += L" from ";
        text += installation.folder;
        text += L", or a program holds ";
        text += installation.uninstaller;
        text += L" open. Nothing was removed.";
        return text;
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

// Everything but the original uninstaller and its folder; the original still runs.
RemovalOutcome removeInstallation(const Installation& installation)
{
    RemovalOutcome outcome;
    const UserRegistry registry;
    removeShortcuts(userProgramsFolder(), installation.folder, outcome);
    removeApplications(installation.folder, packedApplications(), outcome);
    const std::vector<RegistryStep> fileTypes = planFileTypes(registry, installation);
    applyRegistrySteps(fileTypes, outcome);
    if (!fileTypes.empty()) {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    if (outcome.failures.empty()) {
        applyRegistrySteps(planRegistration(registry, installation), outcome);
    }
    outcome.uninstallerKept = !outcome.failures.empty();
    return outcome;
}

}  // namespace

ExitCode runOriginal(bool silent)
{
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
    DWORD error = ERROR_SUCCESS;
    const HANDLE ownFile = lockUninstaller(installation.uninstaller, error);
    if (ownFile == INVALID_HANDLE_VALUE) {
        tell(silent, MessageKind::Problem, lockProblem(installation, error));
        return ExitCode::Incomplete;
    }
    const ExitCode result = confirmAndRemove(installation, ownFile, silent);
    CloseHandle(ownFile);
    return result;
}

bool comesFromItsOriginal(const UninstallRequest& request)
{
    return handlesComeFromOriginal(request) &&
           isInstalledHere(UserRegistry{}, installationOf(request.original));
}

ExitCode runHelper(const UninstallRequest& request)
{
    const Installation installation = installationOf(request.original);
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    RemovalOutcome outcome = removeInstallation(installation);
    if (comReady) {
        CoUninitialize();
    }
    if (outcome.uninstallerKept) {
        tell(request.silent, MessageKind::Problem, describeOutcome(outcome, installation.folder));
        sendResult(request.resultPipe, exitCodeOf(outcome));
        return exitCodeOf(outcome);
    }
    sendResult(request.resultPipe, exitCodeOf(outcome));
    if (!waitForOriginal(request.originalProcess)) {
        noteFailure(outcome, installation.uninstaller,
                    L"The uninstaller that was started did not end.");
    } else {
        removeOriginal(request, outcome);
    }
    if (outcome.failures.empty()) {
        const bool folderRemoved = removeFolderIfEmpty(installation.folder, outcome);
        outcome.folderKept = !folderRemoved && outcome.failures.empty();
    }
    const MessageKind kind =
        outcome.failures.empty() ? MessageKind::Information : MessageKind::Problem;
    tell(request.silent, kind, describeOutcome(outcome, installation.folder));
    return exitCodeOf(outcome);
}
