// What verify, list and extract read: a package file as build writes it, or an installer
// that carries the package as its resource 102, read from the file without running it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "package/tool/package_check.h"
#include "package/tool/pe_resource.h"

struct PackageInput {
    std::vector<uint8_t> bytes;           // the whole file
    std::optional<PeResource> installer;  // where the package lies when the file is an installer

    // The package resource: resource 102 of an installer, else the whole file.
    std::span<const uint8_t> resource() const;
};

// Throws ToolError naming the file when it cannot be read, is far too large, or is neither a
// package nor an installer ("FILE: not a package and not an installer: not a PE file").
PackageInput readPackageInput(const std::filesystem::path& file);

// For an installer, says on `out` where its package was found:
// "FILE: resource 102 (RCDATA, language 1033): 155951 bytes at file offset 52736".
void sayWhatWasRead(std::ostream& out, const std::string& file, const PackageInput& input);

// Reads the file, says what was read, and checks the package with constants derived from
// it. Throws ToolError naming the file and the damage unless the package is intact.
PackageCheck readIntactPackage(const std::string& file, std::ostream& out);
