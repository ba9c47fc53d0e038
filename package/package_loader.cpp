#include "package/package_loader.h"

#include "package/file_table.h"
#include "package/lzma_raw_decoder.h"
#include "package/package_checksum.h"

PackageStatus unpackPackage(const uint8_t* resource, uint32_t resourceSize,
                            const PackageConstants& expected, UnpackBuffer& unpacked,
                            PackageEntry (&entries)[PackageEntryCount]) {
    if (resource == nullptr || resourceSize == 0 || resourceSize != expected.resourceSize) {
        return ResourceInvalid;
    }
    if (unpacked.allocate() == nullptr) {
        return OutOfMemory;
    }
    const uint32_t decoded = decodeRawLzma(resource, resourceSize, unpacked.data, unpacked.length);
    if (decoded != expected.imageLength) {
        return PackageCorrupt;
    }
    if (packageChecksum(unpacked.data, decoded) != expected.checksum) {
        return PackageCorrupt;
    }
    // The header rows are read from the block even for an image shorter than them: the block
    // is 4 MiB of zeros past the image, and such a table can never add up to the length.
    return buildFileTable(unpacked.data, decoded, entries);
}
