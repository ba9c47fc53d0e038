#include "package/tool/commands.h"
#include "package/tool/constants_header.h"
#include "package/tool/file_io.h"
#include "package/tool/package_check.h"

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

}  // namespace

ExitCode runVerify(const CommandLine& line, std::ostream& out, Messages& messages) {
    std::optional<PackageConstants> expected;
    if (line.header) {
        expected = readConstants(*line.header);
    }
    const PackageCheck check = checkPackage(readPackageFile(line.input), expected);
    out << line.input << ": " << statusName(check.status) << '\n';
    if (check.status != Ok) {
        messages.error(fileMessage(line.input, check.problem));
        return ExitCode::Error;
    }
    return ExitCode::Success;
}
