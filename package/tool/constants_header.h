// The C++ header that carries the three package constants into the installer's build.
#pragma once

#include <string>
#include <string_view>

#include "package/package_types.h"

std::string formatConstantsHeader(const PackageConstants& constants);

// Reads the three constants back. Throws ToolError naming fileName when one is missing,
// defined twice, or not a 32-bit integer literal.
PackageConstants parseConstantsHeader(std::string_view text, std::string_view fileName);
