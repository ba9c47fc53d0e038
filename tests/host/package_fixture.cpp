#include "package_fixture.h"

#include <fstream>
#include <iterator>

#include "package/package_checksum.h"
#include "package/tool/encoder_search.h"

namespace {

const std::vector<uint8_t>& ownProgram() {
    static const std::vector<uint8_t> bytes = [] {
        std::ifstream file("/proc/self/exe", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
    }();
    return bytes;
}

}  // namespace

std::string licenceText(size_t length) {
    std::string text;
    for (int line = 1; text.size() < length; ++line) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += "Line " + std::to_string(line) + " of the licence of the test package.";
    }
    text.resize(length);
    // The cut may leave a line break, or half of one, at the end.
    if (text.ends_with("\r\n")) {
        text.replace(text.size() - 2, 2, "..");
    } else if (text.ends_with('\r')) {
        text.back() = '.';
    }
    return text;
}

std::vector<uint8_t> executableBytes(size_t size, uint32_t seed) {
    const std::vector<uint8_t>& program = ownProgram();
    const size_t start = (seed * 7919u * 64u) % (program.size() - size);
    return {program.begin() + static_cast<ptrdiff_t>(start),
            program.begin() + static_cast<ptrdiff_t>(start + size)};
}

PackageFiles sampleFiles(uint32_t scale) {
    static constexpr uint32_t sizes[PackageEntryCount] = {0,     18432, 20480, 38912, 44032, 21504,
                                                          23552, 37888, 30720, 10752, 10240};
    PackageFiles files{};
    const std::string licence = licenceText(503);
    files[LicenceEntry].bytes.assign(licence.begin(), licence.end());
    for (uint32_t i = 1; i < PackageEntryCount; ++i) {
        files[i].bytes = executableBytes(sizes[i] * scale, i);
        if (i < OtherUninstallerEntry) {
            // 2023-08-01 plus i hours and a fraction, as the applications' file times.
            const uint64_t time = 133353216000000000ull + i * 36000000000ull + i * 1234567ull;
            files[i].lastWriteTime = {static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32)};
        }
    }
    return files;
}

std::vector<uint8_t> withRowSize(std::vector<uint8_t> image, uint32_t row, uint32_t size) {
    for (uint32_t i = 0; i < 4; ++i) {
        image[row * PackageHeaderRowSize + i] = static_cast<uint8_t>(size >> (8 * i));
    }
    return image;
}

EncoderSettings quickSettings(size_t imageLength) {
    return {Encoder::Liblzma, 3, 0, 2, defaultDictionarySize(static_cast<uint32_t>(imageLength)),
            MatchFinder::Bt4, 64, 0};
}

SamplePackage packageOf(const std::vector<uint8_t>& image) {
    SamplePackage package{image, encodePackage(image, quickSettings(image.size())), {}};
    package.constants = {static_cast<uint32_t>(package.resource.size()),
                         static_cast<uint32_t>(image.size()),
                         packageChecksum(image.data(), image.size())};
    return package;
}
