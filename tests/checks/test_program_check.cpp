#include "tests/checks/test_program_check.h"

#include <windows.h>

#include "tests/checks/child_process.h"
#include "tests/checks/file_bytes.h"
#include "tests/checks/junit_report.h"
#include "tests/checks/leftover_snapshot.h"
#include "tests/checks/window_reading.h"

namespace {

// The longest a test program of the suite may take on a loaded machine.
constexpr DWORD ProgramDeadline = 300000;

}  // namespace

void runTestProgram(CheckRun& run, const std::wstring& name)
{
    const ChecksFolder& folder = run.folder;
    const std::wstring report = folder.results + L"gtest\\" + name + L".xml";
    const std::wstring output = folder.logs + name + L".output.txt";
    const std::vector<std::wstring> before = leftoverSnapshot(folder.root);
    const std::wstring line =
        quoted(folder.tests + name + L".exe") + L" " + quoted(L"--gtest_output=xml:" + report);
    run.log(L"running " + line);
    DWORD error = 0;
    StartOptions options;
    options.currentFolder = folder.results;
    options.outputFile = output;
    ChildProcess program = startProcess(line, options, error);
    run.require(program.started(), L"cannot start " + name + L".exe (error " +
                                       std::to_wstring(error) + L")");
    const std::optional<DWORD> exitCode = program.wait(ProgramDeadline);
    if (!exitCode) {
        program.end();
        run.expect(false, name + L".exe did not end within " +
                              std::to_wstring(ProgramDeadline / 1000) + L" s; its output: " +
                              output);
    }
    const std::string xml = fileBytes(report);
    run.outcome.suites = foldedSuites(xml, utf8(name));
    if (exitCode) {
        std::wstring failed;
        for (const std::string& test : failedTests(xml)) {
            failed += L"\n  " + wide(test);
        }
        run.expect(*exitCode == 0, name + L".exe ended with exit code " +
                                       std::to_wstring(*exitCode) +
                                       (failed.empty() ? L" and no failed test in its report"
                                                       : L"; failed:" + failed) +
                                       L"\n  its output: " + output);
    }
    run.expect(!xml.empty(), name + L".exe wrote no report to " + report);
    const std::wstring left = snapshotDifferences(before, leftoverSnapshot(folder.root));
    run.expect(left.empty(), name + L".exe left behind: " + left);
}
