#include <array>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "package/package_checksum.h"
#include "package/tool/commands.h"
#include "package/tool/constants_header.h"
#include "package/tool/file_io.h"
#include "package/tool/file_time.h"
#include "package/tool/image_layout.h"
#include "package/tool/licence_check.h"
#include "package/tool/manifest.h"
#include "package/tool/package_check.h"
#include "package/tool/package_roles.h"

namespace {

using PackageFiles = std::array<PackageFile, PackageEntryCount>;

// The time that replaces the files' own, for reproducible builds.
std::optional<FileTime> sourceDateEpoch() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    const std::optional<FileTime> time = parseSourceDateEpoch(text);
    if (!time) {
        throw ToolError(fileMessage("SOURCE_DATE_EPOCH", "'" + std::string(text) +
                                                             "' is not a whole number of seconds "
                                                             "since 1970-01-01"));
    }
    return time;
}

struct Inputs {
    std::vector<ManifestEntry> manifest;
    PackageFiles files;
};

Inputs readInputs(const std::filesystem::path& manifestPath) {
    Inputs inputs{readManifest(manifestPath), {}};
    const std::optional<FileTime> fixedTime = sourceDateEpoch();
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const std::filesystem::path& path = inputs.manifest[i].path;
        try {
            // A file over the limit is read only one byte past it: enough to refuse the image.
            inputs.files[i].bytes = readFile(path, UnpackBlockSize);
            if (entryHasTime(i)) {
                inputs.files[i].lastWriteTime = fixedTime ? *fixedTime : fileLastWriteTime(path);
            }
        } catch (const ToolError& error) {
            throw ToolError(std::string(error.what()) + " (line " +
                            std::to_string(inputs.manifest[i].line) + " of " +
                            manifestPath.string() + ")");
        }
    }
    return inputs;
}

void checkInputs(const std::string& manifestName, const Inputs& inputs, Messages& messages) {
    const std::string licenceName = inputs.manifest[LicenceEntry].path.string();
    const std::vector<uint8_t>& licence = inputs.files[LicenceEntry].bytes;
    if (const std::optional<std::string> problem = licenceProblem(licence)) {
        throw ToolError(fileMessage(licenceName, "not a valid licence text: " + *problem));
    }
    if (licence.size() > LicenceShownBytes) {
        messages.warning(fileMessage(
            licenceName, "the licence is " + std::to_string(licence.size()) +
                             " bytes; the installer shows only its first " +
                             std::to_string(LicenceShownBytes)));
    }
    if (imageLengthOf(inputs.files) > UnpackBlockSize) {
        throw ToolError(fileMessage(manifestName,
                                    "the files make an image larger than the " +
                                        std::to_string(UnpackBlockSize) +
                                        " bytes the installer unpacks into"));
    }
}

void printSummary(std::ostream& out, const std::string& package, const EncodedPackage& encoded,
                  const PackageConstants& constants) {
    const EncoderSettings& settings = encoded.settings;
    char text[256];
    std::snprintf(text, sizeof text,
                  "%u bytes (encoder %s, lc %u, lp %u, pb %u, dictionary %u, mf %s, nice %u, "
                  "depth %u), image %u bytes, checksum 0x%08X\n",
                  constants.resourceSize, nameOf(settings.encoder).data(),
                  settings.lc, settings.lp, settings.pb, settings.dictionarySize,
                  nameOf(settings.matchFinder).data(), settings.niceLength, settings.depth,
                  constants.imageLength, constants.checksum);
    // The path goes out on its own: it may be longer than the buffer.
    out << package << ": " << text;
}

}  // namespace

void runBuild(const CommandLine& line, std::ostream& out, Messages& messages) {
    const Inputs inputs = readInputs(line.input);
    checkInputs(line.input, inputs, messages);
    const std::vector<uint8_t> image = layoutImage(inputs.files);
    const uint32_t imageLength = static_cast<uint32_t>(image.size());

    const std::vector<EncoderSettings> candidates =
        line.best ? bestSettings(imageLength) : candidateSettings(line.encoder, imageLength);
    // The long search says how far it is; the default one is done in seconds.
    SearchProgress progress;
    if (line.best) {
        const std::string count = std::to_string(candidates.size());
        progress = [&messages, count](size_t ended, const EncoderSettings& settings,
                                       size_t resourceSize) {
            messages.progress("[" + std::to_string(ended) + "/" + count + "] " +
                              describeSettings(settings) + ": " + std::to_string(resourceSize) +
                              " bytes");
        };
    }
    // As many encoders at once as there are cores: each holds a window and a match finder
    // several times the size of the dictionary.
    const EncodedPackage encoded =
        encodeSmallest(image, candidates, std::thread::hardware_concurrency(), progress);
    const PackageConstants constants{static_cast<uint32_t>(encoded.resource.size()), imageLength,
                                     packageChecksum(image.data(), image.size())};

    // Whatever the encoder made must pass the installer's own loader, unchanged.
    const PackageCheck check = checkPackage(encoded.resource, constants);
    if (check.status != Ok || check.image != image) {
        throw ToolError(fileMessage(line.output, "the compressed package does not unpack to its "
                                                 "image: " + check.problem));
    }

    OutputFiles outputs;
    outputs.add(line.output, encoded.resource);
    if (line.header) {
        const std::string header = formatConstantsHeader(constants);
        outputs.add(*line.header, std::span(reinterpret_cast<const uint8_t*>(header.data()),
                                            header.size()));
    }
    outputs.commit();
    printSummary(out, line.output, encoded, constants);
}
