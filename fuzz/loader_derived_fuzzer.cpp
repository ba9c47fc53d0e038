// The installer's loader sequence with constants derived from the input, as the package
// tool would write them for it: the input's size, and the length and checksum of what it
// decodes to. Every input thus passes the size, length and checksum checks and reaches the
// file table, so the fuzzer explores the header rows rather than a 32-bit checksum.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_check.h"
#include "fuzz/loader_checks.h"
#include "package/lzma_raw_decoder.h"
#include "package/package_checksum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) {
        return -1;
    }
    // One block for the whole run, not one per input; the loader allocates its own.
    static uint8_t* const image = static_cast<uint8_t*>(std::malloc(UnpackBlockSize));
    const uint32_t resourceSize = static_cast<uint32_t>(size);
    const uint32_t imageLength = decodeRawLzma(data, resourceSize, image, UnpackBlockSize);
    const PackageConstants derived{resourceSize, imageLength, packageChecksum(image, imageLength)};

    const PackageStatus status = checkedUnpack(data, resourceSize, derived);
    fuzzRequire(size == 0 || status != ResourceInvalid, "the derived size is always right");
    return 0;
}
