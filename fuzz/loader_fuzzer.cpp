// The installer's loader sequence over arbitrary resource bytes, against fixed package
// constants: the package_constants.h on the include path is either the shipped package's
// or that of the small seed package of the corpus (fuzz/seed).
#include <cstddef>
#include <cstdint>

#include "fuzz/loader_checks.h"
#include "package_constants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) {
        return -1;
    }
    checkedUnpack(data, static_cast<uint32_t>(size),
                  {PackageResourceSize, PackageImageLength, PackageChecksum});
    return 0;
}
