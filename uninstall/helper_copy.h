// The helper's copy of the uninstaller (see helper_process.h), in a new folder of its own
// below %TEMP%. A running program's file cannot be deleted, and the helper is the last of
// the uninstaller's processes to end, so nothing of the uninstaller can delete its copy:
// the folder's removal is arranged for the user's next logon before the helper starts, so
// that even a helper that crashes leaves nothing behind after it.
#pragma once

#include <windows.h>

#include <string>

struct HelperCopy {
    std::wstring folder;   // %TEMP%\Velkaris-uninstall-<random>, without a trailing separator
    std::wstring program;  // the copy: folder\uninstall.exe
    HANDLE file = INVALID_HANDLE_VALUE;  // the copy, held shared with readers only
};

// Creates the folder under a random name from the system's generator (taking another when
// that name exists, so nobody can have made it first), arranges its removal at the next
// logon, writes the bytes of the uninstaller open through ownFile to a new file in it and
// holds that open: nobody can change the copy while the helper runs. The writing handle is
// closed before the holding one is opened (the system starts no program while a handle
// with write access to its file is open); the held file is then checked to be the one
// written, with the same bytes. Returns ERROR_SUCCESS or the reason, having undone its work.
DWORD makeHelperCopy(HANDLE ownFile, HelperCopy& copy);

// Undoes makeHelperCopy for a helper that never started: deletes the copy and its folder
// and withdraws the removal at the next logon.
void discardHelperCopy(HelperCopy& copy);

// The name of the value that removes the folder of the helper at path at the next logon:
// the folder's own name. Values of the helper's further removals begin with it.
std::wstring helperCleanupName(const std::wstring& helperProgram);
