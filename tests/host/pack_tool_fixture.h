// Running the package tool in the test process, and the folders and files around it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "package_fixture.h"

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::vector<std::string>& args);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder();

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
void writeText(const std::filesystem::path& path, std::string_view text);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);
std::vector<std::string> fileNames(const std::filesystem::path& folder);

void setLastWriteTime(const std::filesystem::path& path, FileTime time);
FileTime lastWriteTime(const std::filesystem::path& path);

// The input file names the sample files are written under, in row order.
extern const char* const sampleInputNames[PackageEntryCount];

// Writes the files under folder with their times as last-write times (the others get the
// current time), plus a manifest "package.manifest" with comments and a blank line;
// returns the manifest's path.
std::string writeInputs(const std::filesystem::path& folder, const PackageFiles& files);
