#include <windows.h>

#include <algorithm>

#include "tests/checks/association_watch.h"
#include "tests/checks/installation_expectations.h"
#include "tests/checks/installation_guard.h"
#include "tests/checks/installer_checks.h"
#include "tests/checks/installer_driver.h"
#include "tests/checks/leftover_snapshot.h"
#include "tests/checks/system_kind.h"
#include "tests/checks/uninstaller_runs.h"
#include "tests/checks/user_places.h"
#include "tests/checks/window_reading.h"

namespace {

// Wine's shell keeps the notices inside the process that sends them, so a window of the
// checks counts the installer's only on Windows.
bool noticesReachOtherProcesses()
{
    return !thisSystem().wine;
}

// Drives the four pages, a screenshot of each, and reads what the progress page shows.
void driveWizard(CheckRun& run, const std::wstring& destination)
{
    RunningInstaller installer = startInstaller(run);
    const HWND window = installer.window;
    run.require(visiblePage(window) == Page::Licence, L"the wizard does not begin with the licence");
    screenshot(run, window, L"1-licence");
    pressFor(run, window, {VK_RETURN}, L"I Agree shows the components",
             [&] { return visiblePage(window) == Page::Components; });
    screenshot(run, window, L"2-components");
    pressFor(run, window, {VK_RETURN}, L"Next shows the destination",
             [&] { return visiblePage(window) == Page::Destination; });
    screenshot(run, window, L"3-destination");
    run.expect(destinationField(window) == destination,
               L"the destination page shows \"" + destinationField(window) + L"\", not " +
                   destination);
    pressFor(run, window, {VK_RETURN}, L"Install shows the progress",
             [&] { return visiblePage(window) == Page::Progress; });
    const std::wstring result = awaitResult(run, window);
    run.expect(result == L"Installation completed successfully.",
               L"the installation ended with \"" + result + L"\"");
    run.expect(progressPosition(window) == 100,
               L"the progress bar stands at " + std::to_wstring(progressPosition(window)));
    screenshot(run, window, L"4-progress");
    pressFor(run, window, {'D', true}, L"Show Details shows the details",
             [&] { return visibleControl(window, 1018) != nullptr; });
    screenshot(run, window, L"5-details");
    const std::vector<std::wstring> lines = detailsLines(window);
    const std::vector<std::wstring> expected = expectedDetails(destination, menuFolder());
    for (size_t i = 0; i < expected.size() || i < lines.size(); ++i) {
        const std::wstring shown = i < lines.size() ? lines[i] : L"(none)";
        const std::wstring awaited = i < expected.size() ? expected[i] : L"(none)";
        run.expect(shown == awaited, L"details line " + std::to_wstring(i + 1) + L" is \"" +
                                         shown + L"\", not \"" + awaited + L"\"");
    }
    closeInstaller(run, installer);
}

}  // namespace

void checkInstallation(CheckRun& run)
{
    const std::wstring destination = defaultDestination();
    const std::vector<std::wstring> before = leftoverSnapshot(run.folder.root);
    InstallationGuard guard(run, destination);
    const AssociationWatch explorer;
    run.require(explorer.registered(), L"cannot register a window for the shell's notices");
    driveWizard(run, destination);
    expectInstalledFiles(run, destination);
    expectShortcuts(run, menuFolder(), destination);
    expectRegistryValues(run, destination);
    std::wstring machineWide;
    for (const std::wstring& line : leftoverSnapshot(run.folder.root)) {
        if (isMachineWide(line) && std::find(before.begin(), before.end(), line) == before.end()) {
            machineWide += L"; " + line;
        }
    }
    run.expect(machineWide.empty(), L"the installation wrote outside the profile and HKCU" +
                                        machineWide);
    if (noticesReachOtherProcesses()) {
        const int notices = explorer.count(1);
        run.expect(notices == 1, L"Explorer was told " + std::to_wstring(notices) +
                                     L" times that file types changed, not once");
    } else {
        run.note(wide(thisSystem().description) +
                 L": the shell's notices stay in the installer's process; counted on Windows");
    }
}
