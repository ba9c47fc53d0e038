#include "uninstall/file_identity.h"

#include <algorithm>
#include <cstring>

namespace {

// A file system without 128-bit identifiers reports zero.
std::optional<FileIdentity> wideIdentityOf(HANDLE file)
{
    FILE_ID_INFO information{};
    if (!GetFileInformationByHandleEx(file, FileIdInfo, &information, sizeof(information))) {
        return std::nullopt;
    }
    FileIdentity identity{information.VolumeSerialNumber, {}};
    std::memcpy(identity.file.data(), information.FileId.Identifier, identity.file.size());
    if (std::all_of(identity.file.begin(), identity.file.end(), [](uint8_t b) { return b == 0; })) {
        return std::nullopt;
    }
    return identity;
}

}  // namespace

std::optional<FileIdentity> identityOf(HANDLE file)
{
    if (const std::optional<FileIdentity> wide = wideIdentityOf(file)) {
        return wide;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information)) {
        return std::nullopt;
    }
    const uint64_t index =
        (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    FileIdentity identity{information.dwVolumeSerialNumber, {}};
    std::memcpy(identity.file.data(), &index, sizeof(index));
    return identity;
}

std::optional<FileIdentity> identityOf(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const std::optional<FileIdentity> identity = identityOf(file);
    CloseHandle(file);
    return identity;
}
