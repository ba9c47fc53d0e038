// What a full installation with the installer's choices leaves, as the checks compare it:
// the files, byte for byte with the pack the folder carries; the Start-menu shortcuts and
// their targets; the registry values. Each is one table of today's values, to be extended
// where the installer comes to write more.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/checks/check_run.h"

// The eight applications, in the order of the components page.
extern const std::vector<std::wstring> ApplicationNames;

// The names in FOLDER (with its trailing backslash), sorted without regard to case and
// joined by spaces: what a person sees listed there.
std::wstring folderListing(const std::wstring& folder);

// The details list of a full installation into DESTINATION with shortcuts in MENU (both
// with their trailing backslash).
std::vector<std::wstring> expectedDetails(const std::wstring& destination, const std::wstring& menu);

// DESTINATION holds the eight applications and uninstall.exe, nothing else; each is the
// pack's file byte for byte, the applications with the package's time stamp.
void expectInstalledFiles(CheckRun& run, const std::wstring& destination);

// MENU holds one shortcut per application, nothing else; each leads to its program in
// DESTINATION and carries nothing else (read through IShellLinkW).
void expectShortcuts(CheckRun& run, const std::wstring& menu, const std::wstring& destination);

// The per-user values of the file types, verbs, AppPath and the uninstall registration.
void expectRegistryValues(CheckRun& run, const std::wstring& destination);
