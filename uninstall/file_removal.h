// Deletes the installed files and folders.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "uninstall/application_fingerprint.h"
#include "uninstall/folder_fate.h"
#include "uninstall/removal_outcome.h"

// Every file and folder goes through a handle opened with delete access, with POSIX
// semantics where the system has them (Windows 10 1607 and later, on NTFS): its name then
// goes when that handle is closed, even while another program that shares its deletion (a
// scanner, the indexer) still has it open. Elsewhere the name stays until the last handle
// is closed. A symbolic link or junction is deleted as the link, and a name that leads to a
// file elsewhere is left alone (see link_entries.h). Each deleted file is listed in
// outcome.deletedFiles.

// Deletes the file, or the link at its path; one that is already gone counts as removed.
// Notes a failure.
void removeFile(const std::wstring& path, RemovalOutcome& outcome);

// Deletes, through the handle, the file at path of a program that has just ended, and
// closes the handle. The system may still hold the program's image for a moment after the
// process has ended, so a refused delete is tried again for a short while before it is
// noted as a failure. True when the file is deleted.
bool removeEndedProgram(HANDLE file, const std::wstring& path, RemovalOutcome& outcome);

// Deletes <name>.exe of every application in folder (which ends with a separator) when it
// is the file the pack installed, of the fingerprint's size and SHA-256, or a link. A file
// that differs, or that the name leads to elsewhere, stays, like a file of the user, and
// is named in outcome.keptPrograms.
void removeApplications(std::wstring_view folder,
                        std::span<const ApplicationFingerprint> applications,
                        RemovalOutcome& outcome);

// The full paths of what the folder lists, or nothing when it cannot be listed.
std::optional<std::vector<std::wstring>> folderEntries(const std::wstring& folder);

// What the folder is like now (see folder_fate.h), without changing it; nothing, with the
// reason in error, when it is missing, is no folder or cannot be listed.
std::optional<FolderState> inspectFolder(const std::wstring& folder, DWORD& error);

// Removes the folder when its fate allows it and tells that fate. A folder that the system
// calls not empty while it lists nothing but deleted files is tried again for a short
// while, then goes at the next logon; one whose name is still there after its deletion
// (another program holds it and shares its deletion) goes at the next logon too, so that
// no folder that still exists counts as removed. Nothing, with a failure noted, when it
// cannot be inspected or removed for another reason.
std::optional<FolderFate> removeFolder(const std::wstring& folder, RemovalOutcome& outcome);
