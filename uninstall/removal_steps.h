// The helper's steps, in their order: what goes while the original waits for the result,
// then what becomes of the original's file once it has ended.
#pragma once

#include <string>

#include "uninstall/removal_outcome.h"
#include "uninstall/removal_plan.h"
#include "uninstall/uninstall_request.h"

// The two folders that the removal leaves empty, each with a trailing separator: the
// installation's and the pack's Start-menu folder (empty when the system names none).
struct PackFolders {
    std::wstring installation;
    std::wstring shortcuts;
};

PackFolders packFoldersOf(const Installation& installation);

// Deletes the shortcuts and their folder (when it is left empty), the applications and
// their file types (telling the shell when file types changed). A folder that another
// program holds, or that still lists deleted files that another program holds, goes at the
// next logon, under a value name that begins with cleanupName.
RemovalOutcome removeContents(const Installation& installation, const PackFolders& folders,
                              const std::wstring& cleanupName);

// Once the contents are gone, the rest: the original's file, its registration and AppPath,
// and the installation folder. First the folder's fate is foreseen, with the original's
// file counted as gone: when it could go neither now nor at the next logon (it is
// read-only, the user may not delete it, or its path is too long for a removal at the next
// logon), or the original's file is not the file at its path but what a link there leads
// to, nothing is removed and the uninstaller and its registration stay, so that the user
// can run it again. A folder foreseen to go at the next logon has that arranged first,
// under a value name that begins with cleanupName. Then the original's file moves to
// movedOriginal, in the helper's folder (a running program's file may be renamed, not
// deleted), the registration and AppPath are removed, and the folder is removed now or at
// the next logon. When the registration stays, the original's file is moved back. Returns
// whether the original's file was moved out for good. Everything is settled here, before
// the original gets the result.
bool removeInstallation(const UninstallRequest& request, const Installation& installation,
                        const PackFolders& folders, const std::wstring& movedOriginal,
                        const std::wstring& cleanupName, RemovalOutcome& outcome);
