// Steps the uninstaller's checks share: a full installation to remove, the state left
// after a removal until the next sign-in, and the sign-in after which nothing of the pack
// may be left.
#pragma once

#include <string>
#include <vector>

#include "tests/checks/check_run.h"
#include "tests/checks/child_process.h"
#include "tests/checks/installation_guard.h"
#include "tests/checks/uninstaller_runs.h"

// The snapshot (leftover_snapshot.h) of the machine without the pack.
using Snapshot = std::vector<std::wstring>;
Snapshot takeSnapshot(CheckRun& run);

// A full installation with the installer's choices into the default folder, for a check
// to remove: the snapshot from before it, and the guard that leaves nothing behind.
struct InstalledPack {
    explicit InstalledPack(CheckRun& run);
    std::wstring destination;
    Snapshot before;
    InstallationGuard guard;
};

// The removal left only its helper copy: one folder below %TEMP% holding uninstall.exe (its
// image was mapped while it ran, so the helper cannot delete it), and one RunOnce value,
// named after the folder, that removes it.
void expectOnlyHelperLeft(CheckRun& run, const std::wstring& destination);

// Plays the next sign-in; then the machine must be as BEFORE.
void expectNothingLeftAfterSignIn(CheckRun& run, const Snapshot& before);

// Runs the fault holder with KIND and TARGET and waits until it holds.
ChildProcess holdFault(CheckRun& run, const std::wstring& kind, const std::wstring& target);

// Waits for the uninstaller's message box whose text begins with BEGINNING, checks that
// it says TEXT when TEXT is given, presses KEY and waits for the box to go.
void answerBox(CheckRun& run, const std::wstring& beginning, const std::wstring& text, WORD key);

// An exit code as the README names it: "0 (removed)".
std::wstring exitCodeName(DWORD code);
