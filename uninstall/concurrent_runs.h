// Keeps a second uninstaller, and the installer, away from an installation while it is
// being removed.
#pragma once

#include <windows.h>

#include <string>

// Opens the uninstaller's own file for reading and deleting, shared with readers only.
// While the handle is open, a second uninstaller of the same file cannot open it so, and
// no installer can overwrite or replace it. The helper inherits the handle, so the lock
// lasts until the removal has ended, and deletes the file through it. Returns
// INVALID_HANDLE_VALUE, with the reason in error, when it cannot be opened so.
HANDLE lockUninstaller(const std::wstring& path, DWORD& error);

// True when a window of the pack's installer is open.
bool installerIsOpen();
