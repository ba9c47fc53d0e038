// Lays out the unpacked image: the 11-row header (size, then FILETIME low and high part,
// little-endian), followed by the eleven files back to back.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "package/package_types.h"

struct PackageFile {
    std::vector<uint8_t> bytes;
    FileTime lastWriteTime;
};

// The length the image of these files would have, in 64 bits so that oversized inputs can
// be told apart.
uint64_t imageLengthOf(std::span<const PackageFile, PackageEntryCount> files);

// The image of the files; their image length must not exceed UnpackBlockSize.
std::vector<uint8_t> layoutImage(std::span<const PackageFile, PackageEntryCount> files);
