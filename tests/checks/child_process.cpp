#include "tests/checks/child_process.h"

#include <utility>

namespace {

HANDLE inheritableFile(const std::wstring& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ChildProcess::ChildProcess(PROCESS_INFORMATION started)
    : process(started.hProcess), processId(started.dwProcessId)
{
    CloseHandle(started.hThread);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process(std::exchange(other.process, nullptr)), processId(other.processId)
{
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept
{
    if (this != &other) {
        end();
        if (process != nullptr) {
            CloseHandle(process);
        }
        process = std::exchange(other.process, nullptr);
        processId = other.processId;
    }
    return *this;
}

ChildProcess::~ChildProcess()
{
    end();
    if (process != nullptr) {
        CloseHandle(process);
    }
}

bool ChildProcess::running() const
{
    return process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::wait(DWORD milliseconds) const
{
    if (process == nullptr || WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

void ChildProcess::end()
{
    if (running()) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
    }
}

ChildProcess startProcess(const std::wstring& commandLine, const StartOptions& options,
                          DWORD& error)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    HANDLE errors = INVALID_HANDLE_VALUE;
    if (!options.outputFile.empty() || !options.errorFile.empty()) {
        if (!options.outputFile.empty()) {
            output = inheritableFile(options.outputFile);
        }
        errors = options.errorFile.empty() ? output : inheritableFile(options.errorFile);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = errors;
    }
    std::wstring line = commandLine;
    PROCESS_INFORMATION started{};
    const BOOL made = CreateProcessW(
        nullptr, line.data(), nullptr, nullptr, startup.dwFlags != 0, 0, nullptr,
        options.currentFolder.empty() ? nullptr : options.currentFolder.c_str(), &startup,
        &started);
    error = made ? ERROR_SUCCESS : GetLastError();
    if (output != INVALID_HANDLE_VALUE) {
        CloseHandle(output);
    }
    if (errors != INVALID_HANDLE_VALUE && errors != output) {
        CloseHandle(errors);
    }
    return made ? ChildProcess(started) : ChildProcess();
}

std::wstring quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}
