// Removes at the user's next logon what cannot be removed now, through the per-user RunOnce
// key: at logon the system deletes each of its values, then runs its command. That is the
// documented means for a standard user (moving files at the next restart needs
// administrator rights).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "uninstall/logon_command.h"

// The system folder, without a trailing separator: where cmd.exe lies, and the current
// folder of both roles of the uninstaller, since no removal ever touches it.
std::wstring systemFolder();

// The command that removes folder at the next logon; nothing when it is too long for the key.
std::optional<std::wstring> logonRemovalCommand(const std::wstring& folder,
                                                FolderRemoval removal);

// Writes that command as the value name; ERROR_SUCCESS or the reason.
DWORD removeAtNextLogon(const std::wstring& name, const std::wstring& folder,
                        FolderRemoval removal);

// Deletes the value name again.
void cancelRemovalAtNextLogon(const std::wstring& name);
