#include "package/tool/command_line.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_types.h"
#include "package/tool/messages.h"

namespace {

struct Limits {
    uint32_t lowest;
    uint32_t highest;
};

constexpr uint32_t LargestLiteralContext = 4;  // lc + lp
constexpr Limits LiteralContextLimits{0, 4};
constexpr Limits LiteralPositionLimits{0, 4};
constexpr Limits PositionBitLimits{0, 4};
constexpr Limits DictionaryLimits{4096, UnpackBlockSize};
constexpr Limits NiceLengthLimits{4, 273};  // bt4 needs at least 4
constexpr Limits DepthLimits{0, DeepestSearchDepth};

std::optional<uint32_t> parseNumber(std::string_view text) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{}) {
        return std::nullopt;
    }
    const std::string_view suffix = text.substr(static_cast<size_t>(end - text.data()));
    uint32_t factor = 1;
    if (suffix == "KiB") {
        factor = 1024;
    } else if (suffix == "MiB") {
        factor = 1024 * 1024;
    } else if (!suffix.empty()) {
        return std::nullopt;
    }
    if (value > UINT32_MAX / factor) {
        return std::nullopt;
    }
    return value * factor;
}

uint32_t parseOptionValue(std::string_view option, std::string_view text, Limits limits) {
    const std::optional<uint32_t> value = parseNumber(text);
    if (!value || *value < limits.lowest || *value > limits.highest) {
        throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not a number from " +
                         std::to_string(limits.lowest) + " to " + std::to_string(limits.highest));
    }
    return *value;
}

// One of the names of `choices`, the names nameOf gives them.
template <typename Choice>
Choice parseChoice(std::string_view option, std::string_view text, std::span<const Choice> choices) {
    std::string names;
    for (const Choice choice : choices) {
        if (nameOf(choice) == text) {
            return choice;
        }
        names += (names.empty() ? "" : ", ") + std::string(nameOf(choice));
    }
    throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not one of " + names);
}

Command parseCommand(std::string_view name) {
    if (name == "build") {
        return Command::Build;
    }
    if (name == "verify") {
        return Command::Verify;
    }
    if (name == "list") {
        return Command::List;
    }
    if (name == "extract") {
        return Command::Extract;
    }
    throw UsageError("unknown command '" + std::string(name) + "'");
}

// Which options a command takes, and how many plain arguments.
bool takesEncoderOptions(Command command) { return command == Command::Build; }
bool takesHeader(Command command) { return command == Command::Build || command == Command::Verify; }
size_t argumentCount(Command command) { return command == Command::Extract ? 2 : 1; }

constexpr std::string_view EncoderOptions[] = {"--encoder", "--lc", "--lp",   "--pb",
                                               "--dict",    "--mf", "--nice", "--depth"};

bool accepts(Command command, std::string_view name) {
    if (name == "-o") {
        return command == Command::Build;
    }
    if (name == "--header") {
        return takesHeader(command);
    }
    return takesEncoderOptions(command) &&
           std::find(std::begin(EncoderOptions), std::end(EncoderOptions), name) !=
               std::end(EncoderOptions);
}

// Stores the value of an option that accepts() let through.
void storeOption(CommandLine& line, std::string_view name, std::string_view value) {
    EncoderRequest& encoder = line.encoder;
    if (name == "-o") {
        line.output = value;
    } else if (name == "--header") {
        line.header = std::string(value);
    } else if (name == "--encoder") {
        encoder.encoder = parseChoice<Encoder>(name, value, Encoders);
    } else if (name == "--lc") {
        encoder.lc = parseOptionValue(name, value, LiteralContextLimits);
    } else if (name == "--lp") {
        encoder.lp = parseOptionValue(name, value, LiteralPositionLimits);
    } else if (name == "--pb") {
        encoder.pb = parseOptionValue(name, value, PositionBitLimits);
    } else if (name == "--dict") {
        encoder.dictionarySize = parseOptionValue(name, value, DictionaryLimits);
    } else if (name == "--mf") {
        encoder.matchFinder = parseChoice<MatchFinder>(name, value, MatchFinders);
    } else if (name == "--nice") {
        encoder.niceLength = parseOptionValue(name, value, NiceLengthLimits);
    } else {
        encoder.depth = parseOptionValue(name, value, DepthLimits);
    }
}

bool isHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

constexpr std::string_view BestOption = "--best";

}  // namespace

CommandLine parseCommandLine(std::span<const std::string> args) {
    for (const std::string& arg : args) {
        if (isHelp(arg)) {
            return {};
        }
    }
    if (args.empty()) {
        throw UsageError("no command given");
    }
    CommandLine line;
    line.command = parseCommand(args[0]);
    std::vector<std::string> arguments;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!arg.starts_with('-') || arg == "-") {
            arguments.emplace_back(arg);
            continue;
        }
        const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
        const std::string_view name = arg.substr(0, equals);
        if (name == BestOption && line.command == Command::Build) {
            if (equals != std::string_view::npos) {
                throw UsageError("build: option '--best' takes no value");
            }
            line.best = true;
            continue;
        }
        if (!accepts(line.command, name)) {
            throw UsageError(args[0] + ": unknown option '" + std::string(name) + "'");
        }
        if (equals != std::string_view::npos) {
            storeOption(line, name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            storeOption(line, name, args[++i]);
        } else {
            throw UsageError(args[0] + ": option '" + std::string(name) + "' needs a value");
        }
    }

    const size_t wanted = argumentCount(line.command);
    if (arguments.size() != wanted) {
        throw UsageError(args[0] + ": expected " + std::to_string(wanted) + " argument" +
                         (wanted == 1 ? "" : "s") + ", got " + std::to_string(arguments.size()));
    }
    line.input = arguments[0];
    if (line.command == Command::Extract) {
        line.output = arguments[1];
    }
    if (line.command == Command::Build && line.output.empty()) {
        throw UsageError("build: the output package must be given with -o PACKAGE");
    }
    const EncoderRequest& encoder = line.encoder;
    if (line.best && encoder != EncoderRequest{}) {
        // The grid is what makes --best never larger than any of its settings.
        throw UsageError("build: --best tries its own grid of settings and takes no other "
                         "encoder option");
    }
    if (encoder.lc && encoder.lp && *encoder.lc + *encoder.lp > LargestLiteralContext) {
        throw UsageError("build: --lc and --lp must add up to at most 4");
    }
    if (encoder.encoder == Encoder::SevenZip && encoder.niceLength &&
        *encoder.niceLength < SevenZipShortestNiceLength) {
        throw UsageError("build: 7-Zip's encoder needs --nice " +
                         std::to_string(SevenZipShortestNiceLength) + " or more");
    }
    return line;
}
