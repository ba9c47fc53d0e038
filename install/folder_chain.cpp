// Creates every missing folder along a path, from the first one that may be created on.
#include <windows.h>

#include <cwchar>

#include "install/folder_path_kind.h"
#include "install/shell_helpers.h"

namespace {

// True when copy names an existing folder or one could be created there.
bool ensureFolder(const wchar_t* copy) {
    const DWORD attributes = GetFileAttributesW(copy);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    return CreateDirectoryW(copy, nullptr) != 0;
}

}  // namespace

uint32_t createFolderChain(const wchar_t* path) {
    // The working copy holds 259 characters; a longer path is refused before anything is
    // examined or created, rather than cut short.
    if (path == nullptr || wcsnlen(path, FolderChainUnits) >= FolderChainUnits) {
        return 0;
    }
    const FolderChainRule rule = folderChainRule(path);
    if (rule.kind == FolderPathKind::Empty) {
        return 1;
    }
    wchar_t copy[FolderChainUnits] = {};
    uint32_t separators = 0;
    for (uint32_t p = 0; path[p] != L'\0'; ++p) {
        copy[p] = path[p];
        if (!isPathSeparator(path[p])) {
            continue;
        }
        ++separators;
        if (separators >= rule.separatorThreshold && p >= rule.lowestPosition &&
            !ensureFolder(copy)) {
            return 0;
        }
    }
    return 1;
}
