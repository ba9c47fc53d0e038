#include "package/tool/manifest.h"

#include <string>

#include "package/package_types.h"
#include "package/tool/file_io.h"
#include "package/tool/messages.h"

namespace {

// Large enough for any sensible manifest; stops a wrong argument from being read whole.
constexpr uint64_t ManifestLimit = 1 << 20;

std::string_view trim(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\f\v";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::vector<ManifestEntry> parseManifest(std::string_view text,
                                         const std::filesystem::path& baseFolder) {
    std::vector<ManifestEntry> entries;
    unsigned lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        entries.push_back({baseFolder / std::filesystem::path(line), lineNumber});
    }
    return entries;
}

std::vector<ManifestEntry> readManifest(const std::filesystem::path& manifest) {
    const std::vector<uint8_t> bytes = readFile(manifest, ManifestLimit);
    if (bytes.size() > ManifestLimit) {
        throw ToolError(fileMessage(manifest.string(), "too large to be a manifest"));
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<ManifestEntry> entries = parseManifest(text, manifest.parent_path());
    if (entries.size() != PackageEntryCount) {
        throw ToolError(fileMessage(
            manifest.string(),
            "names " + std::to_string(entries.size()) + (entries.size() == 1 ? " file" : " files") +
                "; a package needs exactly 11 (licence, 8 applications, "
                "the other edition's uninstaller, this edition's uninstaller)"));
    }
    return entries;
}
