#include <windows.h>

#include "tests/checks/association_watch.h"
#include "tests/checks/installation_guard.h"
#include "tests/checks/installer_checks.h"
#include "tests/checks/installer_driver.h"
#include "tests/checks/removal_scenarios.h"
#include "tests/checks/system_kind.h"
#include "tests/checks/user_places.h"
#include "tests/checks/window_reading.h"

namespace {

// Explorer is told once that file types changed by the installation, once by the removal;
// Wine's shell keeps the notice inside the process that sends it, so it is counted on
// Windows only.
void expectNotices(CheckRun& run, const AssociationWatch& explorer, int awaited)
{
    if (thisSystem().wine) {
        run.note(wide(thisSystem().description) +
                 L": the shell's notices stay in the sending process; counted on Windows");
        return;
    }
    const int notices = explorer.count(awaited);
    run.expect(notices == awaited, L"Explorer was told " + std::to_wstring(notices) +
                                       L" times that file types changed, not " +
                                       std::to_wstring(awaited));
}

// Installs with the installer's choices, lets REMOVE run the uninstaller, then expects what a
// clean removal leaves until the next sign-in, and nothing after it.
template <typename Removal>
void installAndRemove(CheckRun& run, Removal remove)
{
    const std::wstring destination = defaultDestination();
    const Snapshot before = takeSnapshot(run);
    InstallationGuard guard(run, destination);
    const AssociationWatch explorer;
    installWithDefaults(run);
    expectNotices(run, explorer, 1);
    remove(destination);
    expectNotices(run, explorer, 2);
    expectOnlyHelperLeft(run, destination);
    expectNothingLeftAfterSignIn(run, before);
}

}  // namespace

void checkUninstallStartWait(CheckRun& run)
{
    installAndRemove(run, [&](const std::wstring& destination) {
        // An interactive prompt does not wait for a GUI program: start "" /wait does.
        ChildProcess prompt = startCommand(run, commandProcessor() + L" /d /c start \"\" /wait " +
                                                    quoted(destination + L"uninstall.exe"));
        answerBox(run, L"Remove ",
                  L"Remove Velkaris App Pack (Single User) and all of its applications from " +
                      destination + L"?",
                  VK_RETURN);
        answerBox(run, L"Velkaris App Pack (Single User) was removed",
                  L"Velkaris App Pack (Single User) was removed.", VK_RETURN);
        const std::optional<DWORD> code = prompt.wait(60000);
        run.require(code.has_value(), L"start \"\" /wait did not end within 60 s");
        run.expect(*code == Removed, L"start \"\" /wait gave exit code " + exitCodeName(*code) +
                                         L", not " + exitCodeName(Removed));
        awaitHelpers(run);
    });
}

void checkUninstallSilent(CheckRun& run)
{
    installAndRemove(run, [&](const std::wstring& destination) {
        const UninstallResult result = runSilently(run, destination + L"uninstall.exe");
        run.expect(result.exitCode == Removed, L"uninstall.exe /S gave exit code " +
                                                   exitCodeName(result.exitCode) + L": " +
                                                   result.errors);
        run.expect(result.errors.empty(), L"uninstall.exe /S wrote to standard error: " + result.errors);
    });
}
