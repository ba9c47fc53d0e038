// The constants of fuzz/corpus/package/seed.pkg, written by velkaris-pack (make_seeds.sh).
#pragma once

#include <cstdint>

constexpr uint32_t PackageResourceSize = 141u;
constexpr uint32_t PackageImageLength = 512u;
constexpr uint32_t PackageChecksum = 0x401568CEu;
