#pragma once

#include <string_view>

// The text of --help: every command, option, file name and exit code.
std::string_view helpText();
