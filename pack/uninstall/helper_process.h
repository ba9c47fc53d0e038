// A running program cannot delete its own file, so the uninstaller in the installed folder
// (the original) hands the work to a copy of itself in the user's temporary folder (the
// helper) and ends. No administrator rights are needed:
//  - the original copies itself to a new file in %TEMP%, opens that copy with
//    FILE_FLAG_DELETE_ON_CLOSE and lets the helper inherit the handle, so the system
//    deletes the copy once the helper has ended and the last handle to it is closed;
//  - the helper also inherits a handle of the original process, to wait for its end
//    before deleting the original's file, and the write end of a pipe, through which it
//    sends the exit code of the removal, so that the original ends with it and scripts see
//    the result;
//  - the helper runs in the temporary folder, so that no process keeps the installed
//    folder as its current folder.
#pragma once

#include <cstdint>
#include <string>

#include "pack/uninstall/removal_outcome.h"

// The original's side: starts the helper for the uninstaller at self and waits for the
// result of its work. Fills problem and returns Incomplete when no helper could start or
// it ended without a result.
ExitCode runThroughHelper(const std::wstring& self, bool silent, std::wstring& problem);

// The helper's side: sends the result to the original and closes the pipe.
void sendResult(uint64_t resultPipe, ExitCode result);

// The helper's side: true once the original process has ended.
bool waitForOriginal(uint64_t originalProcess);
