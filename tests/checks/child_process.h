// Programs the checks start: the installer, the uninstaller, the test programs, the fault
// holder. A process still running when its ChildProcess goes is ended, so that a failed check
// leaves no program behind.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct StartOptions {
    // Empty: the runner's own.
    std::wstring currentFolder;
    // Standard output and standard error go to this file (created anew) when it is named.
    std::wstring outputFile;
    // Standard error alone goes here when it is named (standard output then to outputFile).
    std::wstring errorFile;
};

class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(PROCESS_INFORMATION started);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool started() const { return process != nullptr; }
    DWORD id() const { return processId; }
    bool running() const;
    // The exit code once the process has ended within MILLISECONDS; nothing if it still runs.
    std::optional<DWORD> wait(DWORD milliseconds) const;
    // Ends the process (exit code 1) and waits for it; nothing when it has ended already.
    void end();

private:
    HANDLE process = nullptr;
    DWORD processId = 0;
};

// Starts COMMAND_LINE; a ChildProcess that has not started, with the reason in error, when
// it cannot.
ChildProcess startProcess(const std::wstring& commandLine, const StartOptions& options,
                          DWORD& error);

// "PATH" in double quotes, as a command line names a program or a file.
std::wstring quoted(const std::wstring& path);
