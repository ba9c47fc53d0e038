// Keeps a second uninstaller, and the installer, away from an installation while it is
// being removed.
#pragma once

#include <windows.h>

#include <string>

// Opens the uninstaller's own file for reading and deleting, shared with readers and
// deleters only. While the handle is open no installer can overwrite the file, and no
// other program can open it without sharing its deletion, so that once the uninstaller has
// ended nothing but its image keeps the file from going. The helper inherits the handle,
// so the lock lasts until the removal has ended, and deletes the file through it. Returns
// INVALID_HANDLE_VALUE, with the reason in error, when it cannot be opened so: a program
// holds the file for writing, or without sharing its deletion.
HANDLE lockUninstaller(const std::wstring& path, DWORD& error);

// Claims the removal of the installation whose uninstaller is open through file: a mutex of
// the session named after the file's identity, inheritable, so that the helper holds it
// until it ends. Two handles that share deletion do not keep each other out, the mutex
// does. Returns null, with ERROR_ALREADY_EXISTS in error while another uninstaller of the
// same file holds it.
HANDLE claimRemoval(HANDLE file, DWORD& error);

// True when a window of the pack's installer is open.
bool installerIsOpen();
