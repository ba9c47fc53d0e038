#include <filesystem>
#include <string>
#include <system_error>

#include "package/tool/commands.h"
#include "package/tool/file_io.h"
#include "package/tool/file_time.h"
#include "package/tool/package_input.h"
#include "package/tool/package_roles.h"

namespace {

constexpr std::string_view ManifestName = "manifest.txt";

std::string manifestText() {
    std::string text = "# The package's entries in row order, as extracted by velkaris-pack.\n";
    for (const EntryRole& role : entryRoles) {
        text += role.fileName;
        text += '\n';
    }
    return text;
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

void runExtract(const CommandLine& line, std::ostream& out) {
    const PackageCheck check = readIntactPackage(line.input, out);
    const std::filesystem::path folder = line.output;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw ToolError(fileMessage(line.output, "cannot create folder: " + error.message()));
    }

    OutputFiles outputs;
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const PackageEntry& entry = check.entries[i];
        const std::span<const uint8_t> bytes(check.image.data() + entry.offset, entry.size);
        std::optional<FileTime> time;
        if (fileTimeValue(entry.lastWriteTime) != 0) {
            time = entry.lastWriteTime;
        }
        outputs.add(folder / entryRoles[i].fileName, bytes, time);
    }
    const std::string manifest = manifestText();
    outputs.add(folder / ManifestName, bytesOf(manifest));
    outputs.commit();
}
