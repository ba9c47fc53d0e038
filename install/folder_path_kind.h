// How createFolderChain reads a path: which of its separators end a folder worth examining.
// Portable: no Windows headers.
#pragma once

#include <cstdint>

enum class FolderPathKind : uint32_t { Empty, Network, Rooted, Drive, Relative };

struct FolderChainRule {
    FolderPathKind kind;
    // A prefix ending in a separator is examined once this many separators were passed...
    uint32_t separatorThreshold;
    // ...and its last position is at least this one.
    uint32_t lowestPosition;
};

// The working copy createFolderChain builds its prefixes in: 259 characters and a terminator.
constexpr uint32_t FolderChainUnits = 260;

constexpr bool isPathSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Classifies path by its first two characters: \\x network, \x rooted, x: drive, else relative.
FolderChainRule folderChainRule(const wchar_t* path);
