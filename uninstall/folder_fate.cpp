#include "uninstall/folder_fate.h"

#include <algorithm>

#include "uninstall/command_paths.h"

FolderFate folderFate(const FolderState& state, std::span<const std::wstring> deleted)
{
    const auto wasDeleted = [&](const std::wstring& entry) {
        return std::any_of(deleted.begin(), deleted.end(),
                           [&](const std::wstring& path) { return samePath(path, entry); });
    };
    if (!std::all_of(state.listed.begin(), state.listed.end(), wasDeleted)) {
        return FolderFate::KeptForUser;
    }
    if (state.readOnly) {
        return FolderFate::ReadOnly;
    }
    if (state.deletionDenied) {
        return FolderFate::DeletionDenied;
    }
    const bool lingers = state.heldOpen || !state.listed.empty() || state.refusedAsNotEmpty;
    return lingers ? FolderFate::AtNextLogon : FolderFate::Removed;
}
