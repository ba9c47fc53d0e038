#include "pack/uninstall/uninstall_run.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "pack/uninstall/command_paths.h"
#include "pack/uninstall/file_removal.h"
#include "pack/uninstall/helper_process.h"
#include "pack/uninstall/packed_applications.h"
#include "pack/uninstall/registry_removal.h"
#include "pack/uninstall/shortcut_removal.h"
#include "pack/uninstall/user_messages.h"

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
    const ExitCode result = runThroughHelper(installation.uninstaller, silent, problem);
    if (!problem.empty()) {
        tell(silent, MessageKind::Problem, problem + L" Nothing was removed.");
    }
    return result;
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
        removeEndedProgram(installation.uninstaller, outcome);
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
