// The uninstaller's command line. Started by the user or a script it takes only /S (no
// windows). The copy it starts in the temporary folder gets "/helper PROCESS PIPE FILE
// PATH": the inherited handles of the original process, of the pipe for the result and of
// the original's own file, and the original uninstaller's path. Portable, so that host
// tests can check both directions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class Role {
    Original,  // runs from the installed folder; hands the work to a copy of itself
    Helper,    // the copy in the temporary folder; does the work
};

struct UninstallRequest {
    Role role = Role::Original;
    bool silent = false;
    uint64_t originalProcess = 0;  // helper only: handle values valid in the helper
    uint64_t resultPipe = 0;
    uint64_t originalFile = 0;
    std::wstring original;         // helper only: path of the original uninstaller

    bool operator==(const UninstallRequest&) const = default;
};

// Reads the arguments after the program name; nothing when they are not understood.
std::optional<UninstallRequest> parseRequest(std::span<const std::wstring> arguments);

// The command line that starts the helper at helperPath for request.
std::wstring helperCommandLine(std::wstring_view helperPath, const UninstallRequest& request);
