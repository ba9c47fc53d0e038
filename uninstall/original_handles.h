// The helper's side of the handles the original passes down (see helper_process.h). Any
// program can start a copy of the uninstaller with "/helper" and handle numbers of its own
// choosing, so the helper works only with handles that prove where they come from.
#pragma once

#include <cstdint>

#include "uninstall/removal_outcome.h"
#include "uninstall/uninstall_request.h"

// True when the request's handles are what an original passes down: the result pipe is a
// pipe, the original process still runs and its program is the file at request.original,
// and the file handle is open on that same file.
bool handlesComeFromOriginal(const UninstallRequest& request);

// Sends the result to the original and closes the pipe.
void sendResult(uint64_t resultPipe, ExitCode result);

// True once the original process has ended; closes its handle.
bool waitForOriginal(uint64_t originalProcess);

// Deletes the original's file through the handle the original passed down, so that only
// that file goes, whatever stands at its path by now; closes the handle. True when it is
// deleted.
bool removeOriginal(const UninstallRequest& request, RemovalOutcome& outcome);
