#include "package/tool/pack_tool.h"

#include <exception>
#include <new>
#include <string>

#include "package/tool/command_line.h"
#include "package/tool/commands.h"
#include "package/tool/help_text.h"
#include "package/tool/messages.h"

namespace {

ExitCode runCommand(const CommandLine& line, std::ostream& out, Messages& messages) {
    switch (line.command) {
    case Command::Help:
        out << helpText();
        return ExitCode::Success;
    case Command::Build:
        runBuild(line, out, messages);
        return ExitCode::Success;
    case Command::Verify:
        return runVerify(line, out, messages);
    case Command::List:
        runList(line, out);
        return ExitCode::Success;
    case Command::Extract:
        runExtract(line, out);
        return ExitCode::Success;
    }
    return ExitCode::Error;
}

}  // namespace

int runPackTool(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    Messages messages(err);
    ExitCode code = ExitCode::Error;
    try {
        code = runCommand(parseCommandLine(args), out, messages);
    } catch (const UsageError& error) {
        messages.usage(error.what());
        code = ExitCode::Usage;
    } catch (const ToolError& error) {
        messages.error(error.what());
    } catch (const std::bad_alloc&) {
        messages.error("out of memory");
    } catch (const std::exception& error) {
        messages.error(std::string("internal error: ") + error.what());
    }
    out.flush();
    if (!out) {
        messages.error("cannot write the output");
        code = ExitCode::Error;
    }
    return static_cast<int>(code);
}
