#include "pack_tool_fixture.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "package/tool/file_time.h"
#include "package/tool/pack_tool.h"

namespace fs = std::filesystem;

ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = runPackTool(args, out, err);
    return {code, out.str(), err.str()};
}

TemporaryFolder::TemporaryFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("velkaris-pack-test-" + std::to_string(random()));
    fs::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const fs::path& path, std::string_view text) {
    writeBytes(path, {text.begin(), text.end()});
}

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::vector<std::string> fileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void setLastWriteTime(const fs::path& path, FileTime time) {
    using namespace std::chrono;
    fs::last_write_time(path, file_clock::from_sys(time_point_cast<nanoseconds>(sysTimeFromFileTime(time))));
}

FileTime lastWriteTime(const fs::path& path) {
    using namespace std::chrono;
    return *fileTimeFromSys(time_point_cast<FileTimeTicks>(file_clock::to_sys(fs::last_write_time(path))));
}

const char* const sampleInputNames[PackageEntryCount] = {
    "licence.txt", "Brinet.exe",  "PaneVista.exe", "QuietVault.exe", "Padwick.exe",        "Tunewell.exe",
    "Notarel.exe", "LockBin.exe", "Packrill.exe",  "uninstall-all-users.exe", "uninstall.exe"};

std::string writeInputs(const fs::path& folder, const PackageFiles& files) {
    fs::create_directories(folder / "bin");
    std::string manifest = "# The sample pack\n\n";
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const std::string name = i == LicenceEntry ? sampleInputNames[i] : std::string("bin/") + sampleInputNames[i];
        writeBytes(folder / name, files[i].bytes);
        if (fileTimeValue(files[i].lastWriteTime) != 0) {
            setLastWriteTime(folder / name, files[i].lastWriteTime);
        }
        manifest += (i == 1 ? "  " : "") + name + "\r\n";
    }
    const fs::path path = folder / "package.manifest";
    writeText(path, manifest);
    return path.string();
}
