// What becomes of a folder of the installation once the uninstaller has deleted its files
// from it. Portable, so that host tests can check the decision.
#pragma once

#include <span>
#include <string>
#include <vector>

// What the uninstaller finds of a folder that still exists.
struct FolderState {
    std::vector<std::wstring> listed{};  // full paths of what it lists
    bool readOnly = false;        // its read-only attribute is set: Windows refuses to delete it
    bool deletionDenied = false;  // its permissions do not let this user delete it
    bool heldOpen = false;        // another program holds it without sharing its deletion, as
                                  // the current folder of a process does
    bool refusedAsNotEmpty = false;  // the system still calls it not empty, again and again,
                                     // although it lists nothing but deleted files: volumes
                                     // without POSIX delete semantics and network shares lag
};

enum class FolderFate {
    Removed,         // may go now: nothing is left in it and nothing keeps it
    AtNextLogon,     // empty of anything but deleted files, but another program holds it or
                     // one of them, or the system lags behind: removed at the user's next logon
    KeptForUser,     // holds files the uninstaller did not delete
    ReadOnly,        // cannot go, now or at the next logon, while it is read-only
    DeletionDenied,  // cannot go: the user may not delete it
};

// The fate of a folder that still exists, from what the uninstaller found of it and the
// files deleted from it (full paths). A file deleted while another program holds it open
// keeps its name until that program closes it, where the system lacks POSIX delete
// semantics. A folder that holds files of the user stays whatever else is true of it.
FolderFate folderFate(const FolderState& state, std::span<const std::wstring> deleted);
