// The package tool's reading of a constants header (verify --header): any text either is
// refused with a message or gives three constants that survive the header the tool writes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "package/tool/constants_header.h"
#include "package/tool/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const PackageConstants read = parseConstantsHeader(text, "fuzz.h");
        const PackageConstants again =
            parseConstantsHeader(formatConstantsHeader(read), "written.h");
        fuzzRequire(again.resourceSize == read.resourceSize &&
                        again.imageLength == read.imageLength && again.checksum == read.checksum,
                    "constants read back from the written header are the same");
    } catch (const ToolError& error) {
        fuzzRequire(std::string_view(error.what()).starts_with("fuzz.h: "),
                    "a refused header is named in the message");
    }
    return 0;
}
