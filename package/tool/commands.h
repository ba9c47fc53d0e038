// The tool's four jobs. Each writes its results to `out` and its warnings through
// `messages`, and throws ToolError when it fails. Verify, list and extract read a package
// file or an installer that carries one, and for an installer first say where they found it.
#pragma once

#include <ostream>

#include "package/tool/command_line.h"
#include "package/tool/messages.h"

void runBuild(const CommandLine& line, std::ostream& out, Messages& messages);
// Returns Success when the package is Ok, Error for any other status.
ExitCode runVerify(const CommandLine& line, std::ostream& out, Messages& messages);
void runList(const CommandLine& line, std::ostream& out);
void runExtract(const CommandLine& line, std::ostream& out);
