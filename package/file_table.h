#pragma once

#include "package/package_types.h"

// Copies sizes and times of the 11 header rows of image into entries and derives the
// offsets (first at 132, unsigned 32-bit sums). Returns Ok when the last entry ends exactly
// at imageLength, else PackageCorrupt; entries are filled either way. image must hold at
// least the 132 header bytes.
PackageStatus buildFileTable(const uint8_t* image, uint32_t imageLength,
                             PackageEntry (&entries)[PackageEntryCount]);
