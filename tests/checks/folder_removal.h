// Removing a folder with everything in it: what a check or a test program made and must not
// leave behind. Shared by the checks' runner and the Windows test programs.
#pragma once

#include <string>

// Removes FOLDER (with or without its trailing backslash) and everything below it, paths
// longer than MAX_PATH too; a link in it goes itself, never what it leads to. True when the
// folder is gone.
bool removeFolderTree(const std::wstring& folder);
