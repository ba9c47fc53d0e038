// Reading input files whole, their time stamps, and writing output files so that they
// appear complete or not at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "package/package_types.h"

// Reads at most limit + 1 bytes of the file, so that a caller can tell a file that is too
// large without reading all of it. Throws ToolError naming the file when it cannot be read.
std::vector<uint8_t> readFile(const std::filesystem::path& path, uint64_t limit);

// The file's last-write time. Throws ToolError when it cannot be read or lies before 1601.
FileTime fileLastWriteTime(const std::filesystem::path& path);

// Output files that appear together or not at all: each is written to a temporary file
// beside its destination, commit() renames them into place, and whatever was not committed
// is removed when the set goes away.
class OutputFiles {
public:
    OutputFiles() = default;
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;
    ~OutputFiles();

    // Writes the bytes to a temporary file, with the given last-write time if any.
    void add(const std::filesystem::path& destination, std::span<const uint8_t> bytes,
             std::optional<FileTime> lastWriteTime = std::nullopt);
    void commit();

private:
    struct Pending {
        std::filesystem::path destination;
        std::filesystem::path temporary;
    };
    std::vector<Pending> pending_;
};
