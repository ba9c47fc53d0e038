#include "uninstall/folder_fate.h"

#include <algorithm>

#include "uninstall/command_paths.h"

FolderFate folderFate(bool heldOpen, std::span<const std::wstring> listed,
                      std::span<const std::wstring> deleted)
{
    const auto wasDeleted = [&](const std::wstring& entry) {
        return std::any_of(deleted.begin(), deleted.end(),
                           [&](const std::wstring& path) { return samePath(path, entry); });
    };
    if (!std::all_of(listed.begin(), listed.end(), wasDeleted)) {
        return FolderFate::KeptForUser;
    }
    return heldOpen || !listed.empty() ? FolderFate::AtNextLogon : FolderFate::Removed;
}
