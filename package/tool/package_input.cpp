#include "package/tool/package_input.h"

#include "package/package_types.h"
#include "package/tool/file_io.h"
#include "package/tool/messages.h"

namespace {

// Even incompressible 4 MiB grow by far less than this in LZMA1.
constexpr uint64_t LargestPackage = 2 * UnpackBlockSize;
// An installer is its package and some 100 KB of code, resources and a signature.
constexpr uint64_t LargestInstaller = LargestPackage + (1 << 20);
// Every LZMA1 stream starts with a 0 byte, right after the 5 properties bytes.
constexpr size_t StreamStart = 5;

[[noreturn]] void refuse(const std::filesystem::path& file, const std::string& problem) {
    throw ToolError(fileMessage(file.string(), "not a package and not an installer: " + problem));
}

}  // namespace

std::span<const uint8_t> PackageInput::resource() const {
    const std::span<const uint8_t> whole(bytes);
    return installer ? whole.subspan(installer->fileOffset, installer->size) : whole;
}

PackageInput readPackageInput(const std::filesystem::path& file) {
    PackageInput input{readFile(file, LargestInstaller), std::nullopt};
    const std::vector<uint8_t>& bytes = input.bytes;
    if (startsAsPeFile(bytes)) {
        if (bytes.size() > LargestInstaller) {
            refuse(file, "a PE file larger than " + std::to_string(LargestInstaller) +
                             " bytes, more than an installer holds");
        }
        PeResourceSearch search = findPackageResource(bytes);
        if (!search.resource) {
            refuse(file, search.problem);
        }
        input.installer = search.resource;
        return input;
    }
    // A damaged package still starts like one; anything else is not worth decoding.
    if (bytes.size() > StreamStart && bytes[StreamStart] != 0) {
        refuse(file, "not a PE file");
    }
    if (bytes.size() > LargestPackage) {
        throw ToolError(fileMessage(file.string(), "too large to be a package"));
    }
    return input;
}

void sayWhatWasRead(std::ostream& out, const std::string& file, const PackageInput& input) {
    if (input.installer) {
        out << file << ": resource 102 (RCDATA, language " << input.installer->language
            << "): " << input.installer->size << " bytes at file offset "
            << input.installer->fileOffset << '\n';
    }
}

PackageCheck readIntactPackage(const std::string& file, std::ostream& out) {
    const PackageInput input = readPackageInput(file);
    sayWhatWasRead(out, file, input);
    PackageCheck check = checkPackage(input.resource(), std::nullopt);
    if (check.status != Ok) {
        throw ToolError(fileMessage(file, "damaged package: " + check.problem));
    }
    return check;
}
