#include "package/tool/image_layout.h"

#include <stdexcept>

namespace {

void appendLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

}  // namespace

uint64_t imageLengthOf(std::span<const PackageFile, PackageEntryCount> files) {
    uint64_t length = PackageHeaderSize;
    for (const PackageFile& file : files) {
        length += file.bytes.size();
    }
    return length;
}

std::vector<uint8_t> layoutImage(std::span<const PackageFile, PackageEntryCount> files) {
    const uint64_t length = imageLengthOf(files);
    if (length > UnpackBlockSize) {
        throw std::length_error("package image larger than the unpack block");
    }
    std::vector<uint8_t> image;
    image.reserve(length);
    for (const PackageFile& file : files) {
        appendLe32(image, static_cast<uint32_t>(file.bytes.size()));
        appendLe32(image, file.lastWriteTime.lowDateTime);
        appendLe32(image, file.lastWriteTime.highDateTime);
    }
    for (const PackageFile& file : files) {
        image.insert(image.end(), file.bytes.begin(), file.bytes.end());
    }
    return image;
}
