// The helper's steps, in their order: what can go while the original still runs, the
// outcome to expect once it has ended, and what goes after its end.
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

// Everything that does not wait for the original to end: deletes the shortcuts and their
// folder (when it is left empty), the applications and their file types (telling the
// shell when file types changed). A folder that another program holds, or that still lists
// deleted files that another program holds, goes at the next logon, under a value name
// that begins with cleanupName.
RemovalOutcome removeContents(const Installation& installation, const PackFolders& folders,
                              const std::wstring& cleanupName);

// The outcome to expect once the original has ended and the rest is removed, judged now:
// the installation folder may go only at the next logon, as above. One whose removal at
// the next logon could not be arranged (its path is too long for that) is a failure, so
// that the uninstaller stays.
RemovalOutcome expectedOutcome(const RemovalOutcome& outcome, const Installation& installation,
                               const PackFolders& folders);

// Once the original has ended: deletes its file, then its registration and AppPath, then
// the installation folder when it is left empty, or at the next logon. When the original's
// file stays, the registration stays with it, so that the user can run it again.
void finishRemoval(const UninstallRequest& request, const Installation& installation,
                   const PackFolders& folders, const std::wstring& cleanupName,
                   RemovalOutcome& outcome);
