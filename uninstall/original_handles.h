// The helper's side of the handles the original passes down (see helper_process.h). Any
// program can start a copy of the uninstaller with "/helper" and handle numbers of its own
// choosing, so the helper works only with handles that prove where they come from.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "uninstall/removal_outcome.h"
#include "uninstall/uninstall_request.h"

// True when the request's handles are what an original passes down: the result pipe is a
// pipe, the original process still runs and its program is the file at request.original,
// and the file handle is open on that same file.
bool handlesComeFromOriginal(const UninstallRequest& request);

// Sends the result to the original and closes the pipe.
void sendResult(uint64_t resultPipe, ExitCode result);

// True when the file the original passed down is the file at its path, not one that a link
// there leads to.
bool originalIsAtItsPath(const UninstallRequest& request);

// Moves the original's file to path through the handle the original passed down, so that
// only that file moves, whatever stands at its old path by then: the file of a running
// program may be renamed on its volume, though it cannot be deleted. ERROR_SUCCESS or the
// reason.
DWORD moveOriginal(const UninstallRequest& request, const std::wstring& path);

// Once the original has ended, deletes its file, moved to path, through that handle and
// closes it; what cannot be deleted goes with the helper's folder at the next logon.
void discardOriginal(const UninstallRequest& request, const std::wstring& path);
