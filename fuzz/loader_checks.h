// The loader sequence as the fuzzers run it, with the properties every outcome must have.
#pragma once

#include <cstdint>

#include "package/package_types.h"

// Runs unpackPackage on the resource bytes against the constants, checks the outcome and
// frees the block again; returns the status.
PackageStatus checkedUnpack(const uint8_t* resource, uint32_t resourceSize,
                            const PackageConstants& expected);
