// The tool's command line:
//   build MANIFEST -o PACKAGE [--header CONSTANTS_H] [--best | encoder options]
//   verify PACKAGE [--header CONSTANTS_H]
//   list PACKAGE
//   extract PACKAGE DIR
//   --help
#pragma once

#include <optional>
#include <span>
#include <string>

#include "package/tool/encoder_search.h"

enum class Command { Help, Build, Verify, List, Extract };

struct CommandLine {
    Command command = Command::Help;
    std::string input;   // MANIFEST for build, PACKAGE otherwise
    std::string output;  // PACKAGE for build, DIR for extract
    std::optional<std::string> header;
    EncoderRequest encoder;
    bool best = false;  // build: try the whole grid of bestSettings()
};

// Throws UsageError for an unknown command or option, a missing or extra argument, or an
// option value out of its range.
CommandLine parseCommandLine(std::span<const std::string> args);
