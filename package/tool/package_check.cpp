#include "package/tool/package_check.h"

#include <lzma.h>

#include <algorithm>
#include <cstdio>

#include "package/package_checksum.h"
#include "package/package_loader.h"
#include "package/tool/lzma_messages.h"

namespace {

constexpr uint32_t PropertiesSize = 5;
constexpr uint32_t ShortestResource = PropertiesSize + 5;

// The stream decoded as the installer does, keeping what liblzma says about it.
struct StreamDecoding {
    std::vector<uint8_t> output;
    lzma_ret result = LZMA_OK;
    size_t inputLeft = 0;
};

class DecoderStream {
public:
    DecoderStream() = default;
    DecoderStream(const DecoderStream&) = delete;
    DecoderStream& operator=(const DecoderStream&) = delete;
    ~DecoderStream() { lzma_end(&stream); }

    lzma_stream stream = LZMA_STREAM_INIT;
};

uint32_t readLe32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

StreamDecoding decodeStream(std::span<const uint8_t> resource) {
    StreamDecoding decoding;
    if (resource.size() < ShortestResource) {
        decoding.result = LZMA_BUF_ERROR;
        return decoding;
    }
    lzma_options_lzma options{};
    options.lc = resource[0] % 9;
    options.lp = resource[0] / 9 % 5;
    options.pb = resource[0] / 45;
    // As the installer: at least the coder's minimum, at most what the block can use.
    options.dict_size = std::clamp(readLe32(&resource[1]), LZMA_DICT_SIZE_MIN, UnpackBlockSize);
    const lzma_filter filters[] = {
        {LZMA_FILTER_LZMA1, &options},
        {LZMA_VLI_UNKNOWN, nullptr},
    };
    DecoderStream decoder;
    decoding.result = resource[0] >= 225 ? LZMA_OPTIONS_ERROR
                                         : lzma_raw_decoder(&decoder.stream, filters);
    if (decoding.result != LZMA_OK) {
        return decoding;
    }
    decoding.output.resize(UnpackBlockSize);
    decoder.stream.next_in = resource.data() + PropertiesSize;
    decoder.stream.avail_in = resource.size() - PropertiesSize;
    decoder.stream.next_out = decoding.output.data();
    decoder.stream.avail_out = decoding.output.size();
    while (decoder.stream.avail_out > 0 && decoding.result == LZMA_OK) {
        decoding.result = lzma_code(&decoder.stream, LZMA_FINISH);
    }
    decoding.output.resize(decoding.output.size() - decoder.stream.avail_out);
    if (decoding.result == LZMA_OK) {
        // The block is full. The image fits exactly if the end marker comes next; if one
        // more byte decodes, the image is too large and the result stays LZMA_OK.
        uint8_t beyond = 0;
        decoder.stream.next_out = &beyond;
        decoder.stream.avail_out = 1;
        while (decoder.stream.avail_out > 0 && decoding.result == LZMA_OK) {
            decoding.result = lzma_code(&decoder.stream, LZMA_FINISH);
        }
        if (decoder.stream.avail_out == 0) {
            decoding.result = LZMA_OK;
        }
    }
    decoding.inputLeft = decoder.stream.avail_in;
    return decoding;
}

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// Why the stream itself is unsound, or empty when it ends cleanly.
std::string streamProblem(const StreamDecoding& decoding, size_t resourceSize) {
    if (resourceSize < ShortestResource) {
        return "only " + std::to_string(resourceSize) + " bytes, too short to be a package";
    }
    if (decoding.result == LZMA_OK) {
        return "the image grows past the " + std::to_string(UnpackBlockSize) +
               " bytes of the unpack block";
    }
    if (decoding.result != LZMA_STREAM_END) {
        return std::string(lzmaMessage(decoding.result));
    }
    if (decoding.inputLeft != 0) {
        return std::to_string(decoding.inputLeft) + " bytes follow the end of the stream";
    }
    return {};
}

uint64_t tableEnd(const std::array<PackageEntry, PackageEntryCount>& entries) {
    uint64_t end = PackageHeaderSize;
    for (const PackageEntry& entry : entries) {
        end += entry.size;
    }
    return end;
}

// The loader's reason for a status other than Ok, in the order the loader checks.
std::string loaderProblem(const PackageCheck& check, const StreamDecoding& decoding,
                          size_t resourceSize) {
    const PackageConstants& expected = check.constants;
    if (check.status == ResourceInvalid) {
        return "the resource is " + std::to_string(resourceSize) + " bytes, not " +
               std::to_string(expected.resourceSize);
    }
    if (check.status == OutOfMemory) {
        return "no memory for the unpack block";
    }
    const std::vector<uint8_t>& image = decoding.output;
    if (image.size() != expected.imageLength) {
        std::string problem = "the stream decodes to " + std::to_string(image.size()) +
                              " bytes, not " + std::to_string(expected.imageLength);
        const std::string stream = streamProblem(decoding, resourceSize);
        return stream.empty() ? problem : problem + " (" + stream + ")";
    }
    const uint32_t checksum = packageChecksum(image.data(), image.size());
    if (checksum != expected.checksum) {
        return "the image's checksum is " + hex32(checksum) + ", not " + hex32(expected.checksum);
    }
    return "the header's entry sizes end at byte " + std::to_string(tableEnd(check.entries)) +
           ", the image at byte " + std::to_string(expected.imageLength);
}

}  // namespace

PackageCheck checkPackage(std::span<const uint8_t> resource,
                          const std::optional<PackageConstants>& expected) {
    const StreamDecoding decoding = decodeStream(resource);
    PackageCheck check{};
    if (expected) {
        check.constants = *expected;
    } else {
        check.problem = streamProblem(decoding, resource.size());
        if (!check.problem.empty()) {
            check.status = PackageCorrupt;
            return check;
        }
        check.constants = {static_cast<uint32_t>(resource.size()),
                           static_cast<uint32_t>(decoding.output.size()),
                           packageChecksum(decoding.output.data(), decoding.output.size())};
    }

    UnpackBuffer unpacked{};
    PackageEntry entries[PackageEntryCount]{};
    check.status = unpackPackage(resource.data(), static_cast<uint32_t>(resource.size()),
                                 check.constants, unpacked, entries);
    std::copy(std::begin(entries), std::end(entries), check.entries.begin());
    if (check.status == Ok) {
        check.image.assign(unpacked.data, unpacked.data + check.constants.imageLength);
    } else {
        check.problem = loaderProblem(check, decoding, resource.size());
    }
    unpacked.release();
    return check;
}

std::string_view statusName(PackageStatus status) {
    switch (status) {
    case Ok:
        return "Ok";
    case ResourceInvalid:
        return "ResourceInvalid";
    case OutOfMemory:
        return "OutOfMemory";
    case CannotCreate:
        return "CannotCreate";
    case WriteFailed:
        return "WriteFailed";
    case PackageCorrupt:
        return "PackageCorrupt";
    }
    return "Unknown";
}
