#include "fuzz/loader_checks.h"

#include "fuzz/fuzz_check.h"
#include "package/package_loader.h"

namespace {

// An accepted table starts after the header, has no gaps, and ends exactly at the image's
// end, inside the block: every later read of an entry stays within the unpacked bytes.
void checkTable(const PackageEntry (&entries)[PackageEntryCount], uint32_t imageLength,
                const UnpackBuffer& unpacked) {
    fuzzRequire(imageLength <= unpacked.length, "the image fits the block");
    uint64_t end = PackageHeaderSize;
    for (const PackageEntry& entry : entries) {
        fuzzRequire(entry.offset == end, "entries follow each other from the header on");
        end += entry.size;
        fuzzRequire(end <= imageLength, "every entry lies inside the image");
    }
    fuzzRequire(end == imageLength, "the entries end where the image ends");
}

}  // namespace

PackageStatus checkedUnpack(const uint8_t* resource, uint32_t resourceSize,
                            const PackageConstants& expected) {
    UnpackBuffer unpacked{};
    PackageEntry entries[PackageEntryCount]{};
    const PackageStatus status = unpackPackage(resource, resourceSize, expected, unpacked, entries);

    const bool sizeRight = resourceSize != 0 && resourceSize == expected.resourceSize;
    fuzzRequire(status == Ok || status == ResourceInvalid || status == PackageCorrupt,
                "the loader answers Ok, ResourceInvalid or PackageCorrupt");
    fuzzRequire((status == ResourceInvalid) == !sizeRight,
                "ResourceInvalid exactly when the size is wrong");
    fuzzRequire(status != ResourceInvalid || unpacked.data == nullptr,
                "a resource of the wrong size allocates nothing");
    if (status == Ok) {
        fuzzRequire(unpacked.owned == 1 && unpacked.length == UnpackBlockSize,
                    "an accepted package is held in an owned 4 MiB block");
        checkTable(entries, expected.imageLength, unpacked);
    }
    unpacked.release();
    fuzzRequire(unpacked.data == nullptr && unpacked.owned == 0, "release frees the block");
    return status;
}
