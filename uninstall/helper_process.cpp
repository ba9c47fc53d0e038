#include "uninstall/helper_process.h"

#include <optional>

#include "uninstall/command_paths.h"
#include "uninstall/helper_copy.h"
#include "uninstall/logon_cleanup.h"
#include "uninstall/uninstall_request.h"
#include "uninstall/user_messages.h"

namespace {

// Handles the helper inherits, besides the copy's; every one is closed again by the original.
struct HelperHandles {
    HANDLE resultRead = nullptr;
    HANDLE resultWrite = nullptr;
    HANDLE self = nullptr;
    HANDLE ownFile = nullptr;
    HANDLE standard[3] = {};
};

void closeAll(HelperHandles& handles)
{
    for (HANDLE handle : {handles.resultRead, handles.resultWrite, handles.self,
                          handles.ownFile, handles.standard[0], handles.standard[1],
                          handles.standard[2]}) {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    handles = {};
}

// An inheritable duplicate of one of this process's handles; null when there is none.
HANDLE inheritableCopy(HANDLE handle, DWORD access, DWORD options)
{
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, access, TRUE,
                         options)) {
        return nullptr;
    }
    return copy;
}

DWORD prepareHandles(HANDLE ownFile, HelperHandles& handles)
{
    if (!CreatePipe(&handles.resultRead, &handles.resultWrite, nullptr, 0) ||
        !SetHandleInformation(handles.resultWrite, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        return lastError();
    }
    handles.self = inheritableCopy(GetCurrentProcess(),
                                   SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, 0);
    handles.ownFile = inheritableCopy(ownFile, 0, DUPLICATE_SAME_ACCESS);
    if (handles.self == nullptr || handles.ownFile == nullptr) {
        return lastError();
    }
    const DWORD streams[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (int i = 0; i < 3; ++i) {
        const HANDLE stream = GetStdHandle(streams[i]);
        if (stream != nullptr && stream != INVALID_HANDLE_VALUE) {
            handles.standard[i] = inheritableCopy(stream, 0, DUPLICATE_SAME_ACCESS);
        }
    }
    return ERROR_SUCCESS;
}

DWORD startHelper(const std::wstring& copy, const std::wstring& commandLine, bool silent,
                  const HelperHandles& handles)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles.standard[0];
    startup.hStdOutput = handles.standard[1];
    startup.hStdError = handles.standard[2];
    std::wstring line = commandLine;
    PROCESS_INFORMATION process{};
    const std::wstring folder = systemFolder();
    if (!CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return lastError();
    }
    // This process was started by the user and may come to the front; the helper, which
    // shows the final report, may only through it.
    if (!silent) {
        AllowSetForegroundWindow(process.dwProcessId);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ERROR_SUCCESS;
}

// Reads the helper's exit code; nothing when the helper ended without sending one.
std::optional<ExitCode> readResult(HANDLE pipe)
{
    int32_t code = 0;
    DWORD total = 0;
    while (total < sizeof(code)) {
        DWORD read = 0;
        if (!ReadFile(pipe, reinterpret_cast<char*>(&code) + total, sizeof(code) - total, &read,
                      nullptr) ||
            read == 0) {
            return std::nullopt;
        }
        total += read;
    }
    if (code < static_cast<int32_t>(ExitCode::Removed) ||
        code > static_cast<int32_t>(ExitCode::RemovedAtNextLogon)) {
        return std::nullopt;
    }
    return static_cast<ExitCode>(code);
}

uint64_t handleValue(HANDLE handle) { return reinterpret_cast<uintptr_t>(handle); }

}  // namespace

ExitCode runThroughHelper(const std::wstring& self, HANDLE ownFile, bool silent,
                          std::wstring& problem)
{
    HelperCopy copy;
    HelperHandles handles;
    DWORD error = makeHelperCopy(ownFile, std::wstring(folderOf(self)), copy);
    if (error == ERROR_SUCCESS) {
        error = prepareHandles(ownFile, handles);
    }
    if (error == ERROR_SUCCESS) {
        const UninstallRequest request{Role::Helper,
                                       silent,
                                       handleValue(handles.self),
                                       handleValue(handles.resultWrite),
                                       handleValue(handles.ownFile),
                                       self};
        error = startHelper(copy.program, helperCommandLine(copy.program, request), silent,
                            handles);
    }
    if (error != ERROR_SUCCESS) {
        closeAll(handles);
        discardHelperCopy(copy);
        problem = L"The uninstaller could not start its copy in the temporary folder: " +
                  systemMessage(error);
        return ExitCode::Incomplete;
    }
    // Only the helper may hold the write end now, so the read ends when the helper does.
    CloseHandle(handles.resultWrite);
    handles.resultWrite = nullptr;
    const std::optional<ExitCode> result = readResult(handles.resultRead);
    closeAll(handles);
    CloseHandle(copy.file);
    if (!result) {
        problem = L"The uninstaller's copy in the temporary folder ended without a result.";
        return ExitCode::Incomplete;
    }
    return *result;
}
