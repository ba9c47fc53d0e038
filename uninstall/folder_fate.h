// What becomes of a folder of the installation once the uninstaller has deleted its files
// from it. Portable, so that host tests can check the decision.
#pragma once

#include <span>
#include <string>

enum class FolderFate {
    Removed,      // gone now, or never there
    AtNextLogon,  // empty of anything but deleted files, but another program holds it or
                  // one of them: removed at the user's next logon
    KeptForUser,  // holds files the uninstaller did not delete
};

// The fate of a folder that still exists, from what it still lists (full paths) and the
// files deleted from it (full paths). A file deleted while another program holds it open
// keeps its name until that program closes it, where the system lacks POSIX delete
// semantics; heldOpen says that another program holds the folder itself without sharing
// its deletion, as the current folder of a process does.
FolderFate folderFate(bool heldOpen, std::span<const std::wstring> listed,
                      std::span<const std::wstring> deleted);
