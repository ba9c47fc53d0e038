// The installer reader over arbitrary files: it finds the resource or says why not; what
// it finds lies inside the file; and bytes appended after the sections, as a signature is,
// change nothing it found.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "package/tool/pe_resource.h"

namespace {

constexpr size_t AppendedBytes = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const PeResourceSearch search = findPackageResource(file);
    fuzzRequire(search.resource.has_value() == search.problem.empty(),
                "a search finds the resource or says why not");
    if (!startsAsPeFile(file)) {
        fuzzRequire(search.problem == "not a PE file", "a file without MZ is not a PE file");
        return 0;
    }
    if (!search.resource) {
        return 0;
    }
    const PeResource& found = *search.resource;
    fuzzRequire(found.size > 0 && found.fileOffset <= size && found.size <= size - found.fileOffset,
                "the resource lies inside the file");

    std::vector<uint8_t> longer(file.begin(), file.end());
    longer.insert(longer.end(), AppendedBytes, 0xA5);
    const PeResourceSearch again = findPackageResource(longer);
    fuzzRequire(again.resource && again.resource->fileOffset == found.fileOffset &&
                    again.resource->size == found.size &&
                    again.resource->language == found.language,
                "bytes after the end change nothing that was found");
    return 0;
}
