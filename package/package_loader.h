// The loader's sequence from the resource bytes on: size check, allocate, decode, length,
// checksum, table, sum. The Windows resource lookup in front of it lives with the installer.
#pragma once

#include "package/package_types.h"

// resource may be null (a missing resource). Returns Ok, ResourceInvalid, OutOfMemory or
// PackageCorrupt; on PackageCorrupt from the sum check the entries stay filled.
PackageStatus unpackPackage(const uint8_t* resource, uint32_t resourceSize,
                            const PackageConstants& expected, UnpackBuffer& unpacked,
                            PackageEntry (&entries)[PackageEntryCount]);
