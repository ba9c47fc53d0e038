// The runner of the Windows checks folder (run-checks.cmd calls it):
//   velkaris-checks [--list] [CHECK...]
// Runs every check of the folder, or the checks named, in order; prints one line per check
// as it ends (with what differed, for a failure) and a summary; writes results\junit.xml
// and keeps screenshots and logs under results\. Exit code 0 only when every check ran
// passed, 1 when any failed, 2 for a name it does not know or where the pack is installed
// (the checks would remove it).
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tests/checks/check_list.h"
#include "tests/checks/file_bytes.h"
#include "tests/checks/folder_removal.h"
#include "tests/checks/junit_report.h"
#include "tests/checks/system_kind.h"
#include "tests/checks/user_places.h"
#include "tests/checks/window_reading.h"
#include "tests/win/test_registry.h"

namespace {

// One line on the console as it ends (a console takes UTF-16, a pipe or file UTF-8).
void say(const std::string& line)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring text = wide(line) + L"\r\n";
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        const std::string text = line + "\n";
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

// The folder is the parent of the runner's own folder (tools\).
ChecksFolder checksFolder()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.resize(path.rfind(L'\\'));
    ChecksFolder folder;
    folder.root = path.substr(0, path.rfind(L'\\') + 1);
    folder.installer = folder.root + L"VelkarisSetup.exe";
    folder.pack = folder.root + L"pack\\";
    folder.tests = folder.root + L"tests\\";
    folder.tools = folder.root + L"tools\\";
    folder.results = folder.root + L"results\\";
    folder.screenshots = folder.results + L"screenshots\\";
    folder.logs = folder.results + L"logs\\";
    return folder;
}

// The results of an earlier run go; the folders of this one are made.
void prepareResults(const ChecksFolder& folder)
{
    removeFolderTree(folder.results);
    for (const std::wstring& made : {folder.results, folder.screenshots, folder.logs,
                                     folder.results + L"gtest\\"}) {
        CreateDirectoryW(made.c_str(), nullptr);
    }
}

// The test programs tell the Wine they run under by VELKARIS_RUNTIME, as under CTest; on
// Windows it names nothing.
void describeRuntime()
{
    const SystemKind& system = thisSystem();
    const std::wstring runtime = L"wine" + std::to_wstring(system.wineMajor);
    SetEnvironmentVariableW(L"VELKARIS_RUNTIME", system.wine ? runtime.c_str() : nullptr);
}

// What shows that the pack is installed here, which the checks would remove; empty when
// nothing does.
std::wstring installedPack()
{
    for (const std::wstring& folder : {defaultDestination(), menuFolder()}) {
        if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return folder;
        }
    }
    for (const wchar_t* key : {L"Software\\Velkaris",
                               L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris"}) {
        if (keyExists(key)) {
            return L"HKEY_CURRENT_USER\\" + std::wstring(key);
        }
    }
    return {};
}

CheckOutcome runCheck(const Check& check, const ChecksFolder& folder)
{
    CheckRun run(folder, check.name);
    const auto start = std::chrono::steady_clock::now();
    try {
        check.run(run);
    } catch (const CheckStopped&) {
    } catch (const std::exception& error) {
        run.expect(false, L"the check stopped: " + wide(error.what()));
    }
    run.outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run.outcome;
}

void printOutcome(const CheckOutcome& outcome)
{
    say(outcomeLine(outcome));
    if (outcome.verdict != Verdict::Failed) {
        return;
    }
    size_t start = 0;
    while (start < outcome.failure.size()) {
        const size_t end = outcome.failure.find('\n', start);
        say("    " + outcome.failure.substr(start, end - start));
        start = end == std::string::npos ? end : end + 1;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const ChecksFolder folder = checksFolder();
    const std::vector<Check> checks = allChecks(folder);
    std::vector<std::string> names;
    for (const Check& check : checks) {
        names.push_back(check.name);
    }
    std::vector<std::string> requested;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--list") {
            for (const std::string& name : names) {
                say(name);
            }
            return 0;
        }
        requested.push_back(utf8(argv[i]));
    }
    std::vector<std::string> unknown;
    const std::vector<std::string> selected = selectedChecks(names, requested, unknown);
    if (!unknown.empty()) {
        for (const std::string& name : unknown) {
            say("velkaris-checks: no check named " + name + " (--list names them)");
        }
        return 2;
    }
    const std::wstring installed = installedPack();
    if (!installed.empty()) {
        say("velkaris-checks: the pack is installed here (" + utf8(installed) +
            "), and the checks install and remove it: uninstall it first");
        return 2;
    }
    prepareResults(folder);
    describeRuntime();
    const std::string system = thisSystem().description;
    say("Velkaris Windows checks on " + system + " in " + utf8(folder.root));
    std::vector<CheckOutcome> outcomes;
    for (const Check& check : checks) {
        if (std::find(selected.begin(), selected.end(), check.name) != selected.end()) {
            outcomes.push_back(runCheck(check, folder));
            printOutcome(outcomes.back());
        }
    }
    const std::wstring reportPath = folder.results + L"junit.xml";
    writeFileBytes(reportPath, junitReport(outcomes, system));
    say(summaryLine(outcomes));
    say("report: " + utf8(reportPath));
    const bool allPassed = std::all_of(outcomes.begin(), outcomes.end(), [](const CheckOutcome& o) {
        return o.verdict == Verdict::Passed;
    });
    CoUninitialize();
    return allPassed ? 0 : 1;
}
