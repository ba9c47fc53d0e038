#include "tests/checks/check_list.h"

#include <windows.h>

#include <algorithm>

#include "tests/checks/installer_checks.h"
#include "tests/checks/test_program_check.h"
#include "tests/checks/window_reading.h"

namespace {

// The test programs' names, without ".exe", sorted.
std::vector<std::wstring> testPrograms(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        names.push_back(name.substr(0, name.size() - 4));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<Check> allChecks(const ChecksFolder& folder)
{
    std::vector<Check> checks = {
        {"manifests", checkManifests},
        {"dpi-awareness", checkDpiAwareness},
        {"install", checkInstallation},
        {"uninstall-start-wait", checkUninstallStartWait},
        {"uninstall-silent", checkUninstallSilent},
        {"uninstall-held", checkUninstallerHeld},
        {"uninstall-application-running", checkApplicationRunning},
        {"uninstall-folder-in-use", checkFolderInUse},
        {"uninstall-scanner", checkScannerHolds},
        {"uninstall-special-path", checkSpecialFolderPath},
    };
    for (const std::wstring& program : testPrograms(folder.tests)) {
        checks.push_back({utf8(program), [program](CheckRun& run) { runTestProgram(run, program); }});
    }
    return checks;
}
