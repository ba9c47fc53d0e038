// The longest destination folder the installer accepts. Every installed path is the folder
// plus a file name, and must stay below the platform's 260-unit path limit that the file,
// folder and shortcut calls work with; the longest name the steps append is "QuietVault.exe".
#pragma once

#include <cstdint>

constexpr uint32_t MaxPathChars = 259;
constexpr uint32_t LongestInstalledFileNameChars = 14;
// Counted with the folder's trailing backslash.
constexpr uint32_t MaxDestinationChars = MaxPathChars - LongestInstalledFileNameChars;
