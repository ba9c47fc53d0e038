// Tells whether handles and paths lead to the same file: by the volume's serial number and
// the file's identifier on that volume, which every name and link of the file share.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct FileIdentity {
    uint64_t volume = 0;
    std::array<uint8_t, 16> file{};  // the 128-bit identifier, or the 64-bit index widened

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file open through the handle; nothing when it has none. The 128-bit
// identifier (FileIdInfo, from Windows 8 on) is unique on every file system, the 64-bit
// index of older systems is not on ReFS; the index serves where the system or the file
// system gives no 128-bit identifier.
std::optional<FileIdentity> identityOf(HANDLE file);

// The identity of the file or folder at path, opened without access to its contents, so
// that any sharing mode of other handles allows it; nothing when it cannot be opened.
std::optional<FileIdentity> identityOf(const std::wstring& path);
