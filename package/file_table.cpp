#include "package/file_table.h"

namespace {

uint32_t readLe32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

}  // namespace

PackageStatus buildFileTable(const uint8_t* image, uint32_t imageLength,
                             PackageEntry (&entries)[PackageEntryCount]) {
    // The true end of the entries, kept in 64 bits: sizes whose 32-bit sum wraps around to
    // the image length would otherwise pass and leave entries pointing outside the image.
    uint64_t end = PackageHeaderSize;
    uint32_t offset = PackageHeaderSize;
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const uint8_t* row = image + i * PackageHeaderRowSize;
        entries[i].offset = offset;
        entries[i].size = readLe32(row);
        entries[i].lastWriteTime.lowDateTime = readLe32(row + 4);
        entries[i].lastWriteTime.highDateTime = readLe32(row + 8);
        offset += entries[i].size;
        end += entries[i].size;
    }
    return end == imageLength ? Ok : PackageCorrupt;
}
