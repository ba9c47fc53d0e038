#include "install/folder_path_kind.h"

FolderChainRule folderChainRule(const wchar_t* path) {
    if (path[0] == L'\0') {
        return {FolderPathKind::Empty, 0, 0};
    }
    if (isPathSeparator(path[0])) {
        if (isPathSeparator(path[1])) {
            // \\server\share\ : the share is the first folder that may be created.
            return {FolderPathKind::Network, 4, 5};
        }
        return {FolderPathKind::Rooted, 2, 2};
    }
    if (path[1] == L':') {
        // The drive root X:\ is never examined; the colon alone decides.
        return {FolderPathKind::Drive, 2, 4};
    }
    return {FolderPathKind::Relative, 1, 1};
}
