// Starts a program the way another program could borrow the uninstaller's helper mode: with
// real handles of its own choosing, whose numbers it puts into the command line.
//   handle_lender ENDED_COMMAND FILE COMMAND
// ENDED_COMMAND is run to its end, so that its process handle is signalled; FILE is opened
// with delete access; a pipe is made. In COMMAND, {process}, {pipe} and {file} stand for
// the numbers of these inheritable handles, and {self} for a handle of handle_lender's own
// process, which runs until COMMAND ends. handle_lender runs COMMAND, prints how many
// bytes arrived on the pipe and ends with COMMAND's exit code (2 when it cannot lend).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void putNumber(std::wstring& line, const std::wstring& name, HANDLE handle) {
    const size_t at = line.find(name);
    if (at != std::wstring::npos) {
        line.replace(at, name.size(), std::to_wstring(reinterpret_cast<uintptr_t>(handle)));
    }
}

// Runs a command line with this program's inheritable handles; its process, or nothing.
HANDLE run(std::wstring line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fwprintf(stderr, L"handle_lender: cannot start %ls (error %lu)\n", line.c_str(),
                      GetLastError());
        return nullptr;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    return process.hProcess;
}

}  // namespace

int wmain(int count, wchar_t** arguments) {
    if (count != 4) {
        std::fprintf(stderr, "usage: handle_lender ENDED_COMMAND FILE COMMAND\n");
        return 2;
    }
    for (DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        SetHandleInformation(GetStdHandle(stream), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE ended = run(arguments[1]);
    const HANDLE file = CreateFileW(arguments[2], DELETE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE pipeRead = nullptr;
    HANDLE pipeWrite = nullptr;
    HANDLE self = nullptr;
    if (ended == nullptr || file == INVALID_HANDLE_VALUE ||
        !CreatePipe(&pipeRead, &pipeWrite, &inherit, 0) ||
        !SetHandleInformation(ended, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT) ||
        !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, 0,
                         TRUE, DUPLICATE_SAME_ACCESS)) {
        std::fprintf(stderr, "handle_lender: cannot make the handles (error %lu)\n",
                     GetLastError());
        return 2;
    }
    std::wstring line = arguments[3];
    putNumber(line, L"{process}", ended);
    putNumber(line, L"{pipe}", pipeWrite);
    putNumber(line, L"{file}", file);
    putNumber(line, L"{self}", self);
    const HANDLE borrower = run(line);
    if (borrower == nullptr) {
        return 2;
    }
    CloseHandle(pipeWrite);
    DWORD arrived = 0;
    PeekNamedPipe(pipeRead, nullptr, 0, nullptr, &arrived, nullptr);
    std::printf("%lu bytes on the pipe\n", arrived);
    DWORD code = 2;
    GetExitCodeProcess(borrower, &code);
    return static_cast<int>(code);
}
