// The helper's copy of the uninstaller (see helper_process.h), in a new folder of its own
// below %TEMP%, on the volume of the installation: the helper moves the original's file
// into that folder, and a file moves only on its own volume, so when %TEMP% lies on
// another one, the folder is made beside the installation folder instead. A running
// program's file cannot be deleted, and the helper is the last of the uninstaller's
// processes to end, so nothing of the uninstaller can delete its copy: the folder's
// removal is arranged for the user's next logon before the helper starts, so that even a
// helper that crashes leaves nothing behind after it.
#pragma once

#include <windows.h>

#include <string>

struct HelperCopy {
    std::wstring folder;   // %TEMP%\Velkaris-uninstall-<random> (or beside the installation
                           // folder), without a trailing separator
    std::wstring program;  // the copy: folder\uninstall.exe
    HANDLE file = INVALID_HANDLE_VALUE;  // the copy, held shared with readers only
};

// Creates the folder under a random name from the system's generator (taking another when
// that name exists, so nobody can have made it first), on the volume of the uninstaller
// open through ownFile, which lies in installationFolder, arranges its removal at the next
// logon, writes the bytes of that uninstaller to a new file in it and
// holds that open: nobody can change the copy while the helper runs. The writing handle is
// closed before the holding one is opened (the system starts no program while a handle
// with write access to its file is open); the held file is then checked to be the one
// written, with the same bytes. Returns ERROR_SUCCESS or the reason, having undone its work.
DWORD makeHelperCopy(HANDLE ownFile, const std::wstring& installationFolder, HelperCopy& copy);

// Undoes makeHelperCopy for a helper that never started: deletes the copy and its folder
// and withdraws the removal at the next logon.
void discardHelperCopy(HelperCopy& copy);

// The name of the value that removes the folder of the helper at path at the next logon:
// the folder's own name. Values of the helper's further removals begin with it.
std::wstring helperCleanupName(const std::wstring& helperProgram);
