#include "package/tool/licence_check.h"

#include <cstdio>

namespace {

constexpr uint8_t CarriageReturn = '\r';
constexpr uint8_t LineFeed = '\n';

std::string describeByte(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::string atLine(size_t line) { return "line " + std::to_string(line); }

}  // namespace

std::optional<std::string> licenceProblem(std::span<const uint8_t> text) {
    size_t line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t byte = text[i];
        const bool followedByLineFeed = i + 1 < text.size() && text[i + 1] == LineFeed;
        if (byte == 0) {
            return atLine(line) + " holds a NUL byte (offset " + std::to_string(i) +
                   "); the licence is text without any terminating zero, remove it";
        }
        if (byte > 0x7F) {
            return atLine(line) + " holds byte " + describeByte(byte) + " (offset " +
                   std::to_string(i) +
                   "), which is not 7-bit ASCII; save the text as plain ASCII, replacing "
                   "typographic quotes, dashes and accented letters";
        }
        if (byte == LineFeed) {
            return atLine(line) +
                   " ends with LF alone; convert the line breaks to CR LF (e.g. unix2dos)";
        }
        if (byte == CarriageReturn && !followedByLineFeed) {
            return atLine(line) + " ends with CR alone; use CR LF between lines";
        }
        if (byte == CarriageReturn) {
            if (i + 2 == text.size()) {
                return std::string("the text ends with a line break; remove the CR LF after "
                                   "the last line");
            }
            ++i;
            ++line;
        }
    }
    return std::nullopt;
}
