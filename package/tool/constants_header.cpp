#include "package/tool/constants_header.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "package/tool/messages.h"

namespace {

constexpr std::string_view ResourceSizeName = "PackageResourceSize";
constexpr std::string_view ImageLengthName = "PackageImageLength";
constexpr std::string_view ChecksumName = "PackageChecksum";

bool isIdentifierCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view skipBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

bool isDefinition(std::string_view rest) {
    return skipBlanks(rest).starts_with('=');
}

// The value of "= literal;" where literal is decimal or 0x hexadecimal with an optional u
// suffix. None when the text does not read so.
std::optional<uint32_t> parseDefinition(std::string_view rest) {
    rest = skipBlanks(skipBlanks(rest).substr(1));
    int base = 10;
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        rest.remove_prefix(2);
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value, base);
    if (error != std::errc{}) {
        return std::nullopt;
    }
    rest = rest.substr(static_cast<size_t>(end - rest.data()));
    if (rest.starts_with('u') || rest.starts_with('U')) {
        rest.remove_prefix(1);
    }
    rest = skipBlanks(rest);
    if (rest.empty() || rest.front() != ';') {
        return std::nullopt;
    }
    return value;
}

uint32_t findConstant(std::string_view text, std::string_view name, std::string_view fileName) {
    std::optional<uint32_t> found;
    for (size_t at = text.find(name); at != std::string_view::npos;
         at = text.find(name, at + name.size())) {
        const size_t after = at + name.size();
        // Mentions in comments and longer identifiers are not definitions.
        if ((at > 0 && isIdentifierCharacter(text[at - 1])) ||
            (after < text.size() && isIdentifierCharacter(text[after])) ||
            !isDefinition(text.substr(after))) {
            continue;
        }
        const std::optional<uint32_t> value = parseDefinition(text.substr(after));
        if (!value) {
            throw ToolError(fileMessage(fileName, std::string(name) +
                                                      " is not defined as a 32-bit integer literal"));
        }
        if (found) {
            throw ToolError(fileMessage(fileName, std::string(name) + " is defined twice"));
        }
        found = value;
    }
    if (!found) {
        throw ToolError(fileMessage(fileName, std::string(name) + " is not defined"));
    }
    return *found;
}

}  // namespace

std::string formatConstantsHeader(const PackageConstants& constants) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "// The package this build carries; written by %.*s together with the package.\n"
                  "#pragma once\n"
                  "\n"
                  "#include <cstdint>\n"
                  "\n"
                  "constexpr uint32_t PackageResourceSize = %uu;\n"
                  "constexpr uint32_t PackageImageLength = %uu;\n"
                  "constexpr uint32_t PackageChecksum = 0x%08Xu;\n",
                  static_cast<int>(ProgramName.size()), ProgramName.data(), constants.resourceSize,
                  constants.imageLength, constants.checksum);
    return text;
}

PackageConstants parseConstantsHeader(std::string_view text, std::string_view fileName) {
    return {findConstant(text, ResourceSizeName, fileName),
            findConstant(text, ImageLengthName, fileName),
            findConstant(text, ChecksumName, fileName)};
}
