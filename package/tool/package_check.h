// Puts a package resource through the installer's own loader sequence, and explains a
// failure in words. Without known constants they are derived from the file itself; then
// the stream must also end cleanly at its end-of-stream marker, since length and checksum
// can no longer tell a damaged stream.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_types.h"

struct PackageCheck {
    PackageStatus status;
    std::string problem;  // empty when status is Ok
    PackageConstants constants;
    std::array<PackageEntry, PackageEntryCount> entries;  // filled once the table was built
    std::vector<uint8_t> image;                           // the unpacked image when Ok
};

PackageCheck checkPackage(std::span<const uint8_t> resource,
                          const std::optional<PackageConstants>& expected);

// "Ok", "ResourceInvalid", ... as the installer's code names them.
std::string_view statusName(PackageStatus status);
