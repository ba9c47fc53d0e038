// Tells whether handles and paths lead to the same file: by the volume's serial number and
// the file's index on that volume, which every name and link of the file share.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file open through the handle; nothing when it has none.
std::optional<FileIdentity> identityOf(HANDLE file);

// The identity of the file at path, opened without access to its contents, so that any
// sharing mode of other handles allows it; nothing when it cannot be opened.
std::optional<FileIdentity> identityOf(const std::wstring& path);
