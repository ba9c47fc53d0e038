// Running the installed uninstaller as a script or a person does, and what it leaves until
// the next sign-in: its helper copy's folder below %TEMP% and the per-user RunOnce values.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/checks/check_run.h"
#include "tests/checks/child_process.h"

// The exit codes the README promises (today's; a new meaning gets a name here).
enum UninstallExitCode : DWORD {
    Removed = 0,
    Incomplete = 1,
    Cancelled = 2,
    RemovedAtNextSignIn = 4,
};

struct UninstallResult {
    DWORD exitCode = 0;
    std::wstring errors;  // what it wrote to standard error, UTF-8 read as text
};

// Runs UNINSTALLER /S directly, as a command script calls it (a script waits for a GUI
// program), with standard error into a file; waits for it and then for its helper copy.
UninstallResult runSilently(CheckRun& run, const std::wstring& uninstaller);

// Starts COMMAND_LINE (cmd.exe's "start" of the uninstaller, say) and returns it running.
ChildProcess startCommand(CheckRun& run, const std::wstring& commandLine);

// Waits up to 30 s until no helper copy of the uninstaller runs (a program of a folder
// %TEMP%\Velkaris-uninstall-*); a finding when one still does.
void awaitHelpers(CheckRun& run);

// The helper copies' folders below %TEMP%, as full paths without a trailing backslash.
std::vector<std::wstring> helperFolders();

struct RunOnceValue {
    std::wstring name;
    std::wstring command;
};
// The per-user RunOnce values, in the registry's order.
std::vector<RunOnceValue> runOnceValues();

// The command that removes a helper's folder at the next sign-in, as the uninstaller
// writes it (with the system folder of this system).
std::wstring helperRemovalCommand(const std::wstring& folder);

// What Windows does with the per-user RunOnce key at the user's next sign-in: each value is
// deleted, then its command run, one after the other. Runs only the pack's values.
void playSignIn(CheckRun& run);

// cmd.exe of the system folder, quoted, as a command line begins with it.
std::wstring commandProcessor();
