// A running program cannot delete its own file, so the uninstaller in the installed folder
// (the original) hands the work to a copy of itself (the helper) in a new folder below the
// user's temporary folder (see helper_copy.h) and ends. No administrator rights are needed:
//  - the helper inherits the copy's handle, shared with readers only, so nobody can change
//    the copy while it runs;
//  - it also inherits a handle of the original process, to check that it was started by
//    that process and to wait for its end; the original's handle of its own file (see
//    concurrent_runs.h), through which it checks which file the original is, moves exactly
//    that file out of the installation folder while the original still runs, and deletes
//    it once the original has ended; the mutex that keeps a second uninstaller away; and
//    the write end of a pipe, through which it sends the exit code once the removal is
//    settled, so that the original ends with it and scripts see the result (see
//    original_handles.h for the helper's side);
//  - both run in the system folder, so that neither keeps the installed folder, nor the
//    helper's own, as its current folder;
//  - the helper may bring its final report to the front: the original, which the user has
//    just started, lets it.
#pragma once

#include <windows.h>

#include <string>

#include "uninstall/removal_outcome.h"

// The original's side: starts the helper for the uninstaller at self, whose own file is
// open through ownFile, and waits for the result of its work. Fills problem and returns
// Incomplete when no helper could start or it ended without a result.
ExitCode runThroughHelper(const std::wstring& self, HANDLE ownFile, bool silent,
                          std::wstring& problem);
