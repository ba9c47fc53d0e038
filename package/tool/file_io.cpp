#include "package/tool/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "package/tool/file_time.h"
#include "package/tool/messages.h"

namespace {

namespace fs = std::filesystem;

class OpenFile {
public:
    OpenFile(const fs::path& path, const char* mode) : file_(std::fopen(path.string().c_str(), mode)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    std::FILE* get() const { return file_; }
    // Closes now, so that a failure to flush the last bytes is seen; false on failure.
    bool close() {
        std::FILE* file = file_;
        file_ = nullptr;
        return std::fclose(file) == 0;
    }

private:
    std::FILE* file_;
};

ToolError systemError(const fs::path& path, std::string_view action, int error) {
    return ToolError(fileMessage(path.string(), std::string(action) + ": " + std::strerror(error)));
}

fs::path temporaryPathFor(const fs::path& destination) {
    static std::mt19937_64 generator{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".tmp-%016llx",
                  static_cast<unsigned long long>(generator()));
    fs::path temporary = destination;
    temporary += suffix;
    return temporary;
}

// Errors name shownPath, the file the user asked for, rather than a temporary one.
void writeWhole(const fs::path& path, const fs::path& shownPath, std::span<const uint8_t> bytes) {
    OpenFile file(path, "wb");
    if (file.get() == nullptr) {
        throw systemError(shownPath, "cannot create", errno);
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw systemError(shownPath, "cannot write", errno);
    }
    if (!file.close()) {
        throw systemError(shownPath, "cannot write", errno);
    }
}

void setLastWriteTime(const fs::path& path, const fs::path& shownPath, FileTime time) {
    using namespace std::chrono;
    const sys_time<FileTimeTicks> moment = sysTimeFromFileTime(time);
    // The host's file clock counts nanoseconds in 64 bits: about the years 1678 to 2262.
    const sys_time<FileTimeTicks> earliest{duration_cast<FileTimeTicks>(nanoseconds::min())};
    const sys_time<FileTimeTicks> latest{duration_cast<FileTimeTicks>(nanoseconds::max())};
    if (moment <= earliest || moment >= latest) {
        throw ToolError(fileMessage(shownPath.string(), "time stamp " + formatIso8601(time) +
                                                            " cannot be stored on this system"));
    }
    std::error_code error;
    fs::last_write_time(path, file_clock::from_sys(time_point_cast<nanoseconds>(moment)), error);
    if (error) {
        throw ToolError(fileMessage(shownPath.string(), "cannot set time stamp: " + error.message()));
    }
}

}  // namespace

std::vector<uint8_t> readFile(const fs::path& path, uint64_t limit) {
    OpenFile file(path, "rb");
    if (file.get() == nullptr) {
        throw systemError(path, "cannot read", errno);
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    while (bytes.size() <= limit) {
        const size_t count = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.insert(bytes.end(), chunk, chunk + count);
        if (count < sizeof chunk) {
            if (std::ferror(file.get())) {
                throw systemError(path, "cannot read", errno);
            }
            break;
        }
    }
    if (bytes.size() > limit + 1) {
        bytes.resize(limit + 1);
    }
    return bytes;
}

FileTime fileLastWriteTime(const fs::path& path) {
    using namespace std::chrono;
    std::error_code error;
    const fs::file_time_type stamp = fs::last_write_time(path, error);
    if (error) {
        throw ToolError(fileMessage(path.string(), "cannot read time stamp: " + error.message()));
    }
    const std::optional<FileTime> time =
        fileTimeFromSys(time_point_cast<FileTimeTicks>(file_clock::to_sys(stamp)));
    if (!time) {
        throw ToolError(fileMessage(path.string(), "time stamp lies before 1601"));
    }
    return *time;
}

OutputFiles::~OutputFiles() {
    for (const Pending& file : pending_) {
        std::error_code ignored;
        fs::remove(file.temporary, ignored);
    }
}

void OutputFiles::add(const fs::path& destination, std::span<const uint8_t> bytes,
                      std::optional<FileTime> lastWriteTime) {
    pending_.push_back({destination, temporaryPathFor(destination)});
    const fs::path& temporary = pending_.back().temporary;
    writeWhole(temporary, destination, bytes);
    if (lastWriteTime) {
        setLastWriteTime(temporary, destination, *lastWriteTime);
    }
}

void OutputFiles::commit() {
    while (!pending_.empty()) {
        const Pending& file = pending_.front();
        std::error_code error;
        fs::rename(file.temporary, file.destination, error);
        if (error) {
            throw ToolError(fileMessage(file.destination.string(),
                                        "cannot replace: " + error.message()));
        }
        pending_.erase(pending_.begin());
    }
}
