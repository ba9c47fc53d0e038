// A running program cannot delete its own file, so the uninstaller in the installed folder
// (the original) hands the work to a copy of itself in the user's temporary folder (the
// helper) and ends. No administrator rights are needed:
//  - the original writes the copy to a new file in %TEMP% and holds it open, shared with
//    readers only, with FILE_FLAG_DELETE_ON_CLOSE; the helper inherits that handle, so
//    nobody can change the copy while it runs and the system deletes it once the helper
//    has ended and the last handle to it is closed;
//  - the helper also inherits a handle of the original process, to check that it was
//    started by that process and to wait for its end; the original's handle of its own
//    file (see concurrent_runs.h), through which it checks which file the original is and
//    deletes exactly that file; and the write end of a pipe, through which it sends the
//    exit code of the removal, so that the original ends with it and scripts see the
//    result (see original_handles.h for the helper's side);
//  - the helper runs in the temporary folder, so that no process keeps the installed
//    folder as its current folder.
#pragma once

#include <windows.h>

#include <string>

#include "uninstall/removal_outcome.h"

// The original's side: starts the helper for the uninstaller at self, whose own file is
// open through ownFile, and waits for the result of its work. Fills problem and returns
// Incomplete when no helper could start or it ended without a result.
ExitCode runThroughHelper(const std::wstring& self, HANDLE ownFile, bool silent,
                          std::wstring& problem);
