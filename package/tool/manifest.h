// The build manifest: the eleven input files in row order, one path a line, relative to
// the manifest's folder. Blank lines and lines starting with '#' are skipped.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

struct ManifestEntry {
    std::filesystem::path path;
    unsigned line;  // 1-based, for messages
};

// Every path of the text, resolved against baseFolder. Surrounding blanks are trimmed.
std::vector<ManifestEntry> parseManifest(std::string_view text,
                                         const std::filesystem::path& baseFolder);

// Reads and parses the manifest file. Throws ToolError when it cannot be read or does not
// name exactly one file per package row.
std::vector<ManifestEntry> readManifest(const std::filesystem::path& manifest);
