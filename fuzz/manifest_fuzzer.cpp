// The package tool's manifest reading: the text parser on the input itself, and the whole
// reader, as `build` runs it, on the input written to a file.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "package/package_types.h"
#include "package/tool/manifest.h"
#include "package/tool/messages.h"

namespace {

namespace fs = std::filesystem;

const fs::path ManifestFolder = "/manifest-folder";

// The parsed entries: in line order, each on a line of the text, each path trimmed.
void checkParsed(std::string_view text, const std::vector<ManifestEntry>& entries) {
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    unsigned previous = 0;
    for (const ManifestEntry& entry : entries) {
        fuzzRequire(entry.line > previous && entry.line <= lines, "entries keep line order");
        previous = entry.line;
        const std::string path = entry.path.string();
        fuzzRequire(!path.empty() && path.find_last_not_of(" \t\r\f\v") == path.size() - 1,
                    "a path ends without blanks");
    }
}

const fs::path& manifestFile() {
    static const fs::path file =
        fs::temp_directory_path() / ("velkaris-fuzz-" + std::to_string(getpid()) + ".manifest");
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<ManifestEntry> parsed = parseManifest(text, ManifestFolder);
    checkParsed(text, parsed);

    const fs::path& file = manifestFile();
    std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(size));
    try {
        const std::vector<ManifestEntry> read = readManifest(file);
        fuzzRequire(read.size() == PackageEntryCount, "an accepted manifest names 11 files");
        fuzzRequire(parsed.size() == PackageEntryCount, "the reader accepts what parses to 11");
        for (size_t i = 0; i < read.size(); ++i) {
            fuzzRequire(read[i].line == parsed[i].line, "the reader finds the parsed lines");
        }
    } catch (const ToolError&) {
        fuzzRequire(parsed.size() != PackageEntryCount, "a manifest of 11 files is accepted");
    }
    fs::remove(file);
    return 0;
}
