// Deletes the installed files and folders.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "uninstall/application_fingerprint.h"
#include "uninstall/removal_outcome.h"

// Deletes the file; one that is already gone counts as removed. Notes a failure.
void removeFile(const std::wstring& path, RemovalOutcome& outcome);

// Deletes, through a handle opened with delete access, the file at path of a program that
// has just ended; the file goes when the last handle to it is closed. The system may still
// hold the program's image for a moment after the process has ended, so a refused delete
// is tried again for a short while before it is noted as a failure.
void removeEndedProgram(HANDLE file, const std::wstring& path, RemovalOutcome& outcome);

// Deletes <name>.exe of every application in folder (which ends with a separator) when it
// is the file the pack installed, of the fingerprint's size and SHA-256. A file that
// differs stays, like a file of the user, and is named in outcome.keptPrograms.
void removeApplications(std::wstring_view folder,
                        std::span<const ApplicationFingerprint> applications,
                        RemovalOutcome& outcome);

// Removes the folder when it is empty. Returns false when it stays because it holds
// something; other reasons are noted as failures.
bool removeFolderIfEmpty(const std::wstring& folder, RemovalOutcome& outcome);
