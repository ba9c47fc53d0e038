#include <cstdio>

#include "package/tool/commands.h"
#include "package/tool/constants_header.h"
#include "package/tool/file_io.h"
#include "package/tool/package_input.h"

namespace {

// A header far larger than this is not a constants header.
constexpr uint64_t HeaderLimit = 1 << 20;

PackageConstants readConstants(const std::string& header) {
    const std::vector<uint8_t> bytes = readFile(header, HeaderLimit);
    if (bytes.size() > HeaderLimit) {
        throw ToolError(fileMessage(header, "too large to be a constants header"));
    }
    return parseConstantsHeader(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), header);
}

// The constants an installer's code must hold for its loader to accept its resource. They
// are compiled into the code and cannot be read from it; these are the ones the check used.
void sayConstants(std::ostream& out, const std::string& file, const PackageConstants& constants,
                  const std::optional<std::string>& header) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "PackageResourceSize %u, PackageImageLength %u, PackageChecksum 0x%08X",
                  constants.resourceSize, constants.imageLength, constants.checksum);
    out << file << ": " << text << " ("
        << (header ? "from " + *header : std::string("derived from the stream")) << ")\n";
}

}  // namespace

ExitCode runVerify(const CommandLine& line, std::ostream& out, Messages& messages) {
    std::optional<PackageConstants> expected;
    if (line.header) {
        expected = readConstants(*line.header);
    }
    const PackageInput input = readPackageInput(line.input);
    sayWhatWasRead(out, line.input, input);
    const PackageCheck check = checkPackage(input.resource(), expected);
    if (input.installer && check.status == Ok) {
        sayConstants(out, line.input, check.constants, line.header);
    }
    out << line.input << ": " << statusName(check.status) << '\n';
    if (check.status != Ok) {
        messages.error(fileMessage(line.input, check.problem));
        return ExitCode::Error;
    }
    return ExitCode::Success;
}
