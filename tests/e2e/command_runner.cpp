// Starts one command line exactly as given, the way the shell starts a registered command
// once it has put the file's path in for %1. Usage: command_runner "COMMAND LINE"
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int wmain() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 2) {
        std::fprintf(stderr, "usage: command_runner \"COMMAND LINE\"\n");
        return 2;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, arguments[1], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "command_runner: cannot start the command (error %lu)\n",
                     GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
