// Every message of the tool goes through here, so that each one starts with the program
// name and goes to the error stream. Errors travel as exceptions up to the command runner.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

constexpr std::string_view ProgramName = "velkaris-pack";

enum class ExitCode : int {
    Success = 0,
    Error = 1,  // bad input, damaged package, failed read or write
    Usage = 2,  // the command line itself is wrong
};

// A failure of the job; the text names the file and the problem.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command line that cannot be run.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Joins a file name and a problem the way every message shows them: "file: problem".
std::string fileMessage(std::string_view file, std::string_view problem);

class Messages {
public:
    explicit Messages(std::ostream& stream) : stream_(stream) {}

    void error(std::string_view text);
    void warning(std::string_view text);
    // A usage error, followed by where to find the correct usage.
    void usage(std::string_view text);
    // A line that reports progress, as it is: "[3/35] 7zip lc 0 ...: 150120 bytes".
    void progress(std::string_view text);

private:
    std::ostream& stream_;
};
