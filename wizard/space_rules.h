// The disk-space figures of the destination page and the rule that enables Install.
// Portable: the page code feeds it the check boxes, the free space and installDir.
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/package_types.h"
#include "wizard/format_number.h"

// Both lines share one buffer: a 17-character label, then the figure from position 17.
constexpr uint32_t SpaceLabelChars = 17;
constexpr uint32_t SpaceLinesZeroed = 64;
// Bytes the two lines may touch: the label and the formatter's whole output area.
constexpr uint32_t SpaceLinesExtent = SpaceLabelChars + FormatNumberCapacity;
// The free space when no figure could be obtained.
constexpr uint64_t MissingFreeSpace = UINT64_MAX;

// Sizes of the applications whose bit is set in checkedMask (bit i: application i, package
// entry i + 1), plus the uninstaller when that sum is not 0. Unsigned 32-bit.
uint32_t requiredBytesFor(const PackageEntry (&entries)[PackageEntryCount], uint32_t checkedMask);

// Zeroes the first 64 bytes of lines and writes "Space required:  " and the rounded-up MB.
void writeRequiredLine(char* lines, uint32_t requiredBytes);
// Turns the required line into "Space available: " and the free figure, or "?" when missing.
void writeAvailableLine(char* lines, uint64_t freeBytes);

// Free space as Install compares it: 4 GiB or more counts as 4 GiB - 1.
uint32_t clampFreeSpace(uint64_t freeBytes);
// Install needs something chosen, strictly less than the clamped free space, and a
// destination short enough for every installed path.
bool installAllowed(uint32_t requiredBytes, uint32_t freeSpace32, size_t installDirChars);

// Length of folder once it ends in exactly one backslash.
size_t destinationChars(const wchar_t* folder);
// True when folder, with its trailing backslash, leaves room for every installed file name.
bool destinationFits(const wchar_t* folder);
