// The whole tool behind main(): runs one command line and returns the exit code. Results
// go to out, messages (prefixed with the program name) to err.
#pragma once

#include <ostream>
#include <span>
#include <string>

int runPackTool(std::span<const std::string> args, std::ostream& out, std::ostream& err);
