// The licence entry must be what the installer's licence page can show: 7-bit ASCII text,
// lines separated by CR LF, no line break after the last line, no terminating zero.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// None when the text is fine; otherwise the first problem and how to fix it.
std::optional<std::string> licenceProblem(std::span<const uint8_t> text);
