#include "pack/uninstall/helper_process.h"

#include <windows.h>

#include "pack/uninstall/uninstall_request.h"
#include "pack/uninstall/user_messages.h"

namespace {

constexpr DWORD OriginalExitWait = 60000;  // the original ends right after the result

// Handles the helper inherits; every one is closed again by the original.
struct HelperHandles {
    HANDLE copy = INVALID_HANDLE_VALUE;  // the helper's file, deleted on its last close
    HANDLE resultRead = nullptr;
    HANDLE resultWrite = nullptr;
    HANDLE self = nullptr;
    HANDLE standard[3] = {};
};

void closeAll(HelperHandles& handles)
{
    for (HANDLE handle : {handles.copy, handles.resultRead, handles.resultWrite, handles.self,
                          handles.standard[0], handles.standard[1], handles.standard[2]}) {
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

std::wstring temporaryFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? std::wstring{} : std::wstring(path, length);
}

// Copies self to a new file in folder and opens it for deletion on close; the copy is
// deleted again if that open fails.
DWORD makeHelperCopy(const std::wstring& self, const std::wstring& folder, std::wstring& copy,
                     HelperHandles& handles)
{
    DWORD error = ERROR_FILE_EXISTS;
    for (unsigned attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        copy = folder + L"Velkaris-uninstall-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(attempt) + L".exe";
        error = CopyFileW(self.c_str(), copy.c_str(), TRUE) ? ERROR_SUCCESS : lastError();
    }
    if (error != ERROR_SUCCESS) {
        return error;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    handles.copy =
        CreateFileW(copy.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    &inherit, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handles.copy == INVALID_HANDLE_VALUE) {
        error = lastError();
        DeleteFileW(copy.c_str());
        return error;
    }
    return ERROR_SUCCESS;
}

DWORD prepareHandles(HelperHandles& handles)
{
    if (!CreatePipe(&handles.resultRead, &handles.resultWrite, nullptr, 0) ||
        !SetHandleInformation(handles.resultWrite, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        return lastError();
    }
    handles.self = inheritableCopy(GetCurrentProcess(), SYNCHRONIZE, 0);
    if (handles.self == nullptr) {
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

DWORD startHelper(const std::wstring& copy, const std::wstring& folder,
                  const std::wstring& commandLine, const HelperHandles& handles)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles.standard[0];
    startup.hStdOutput = handles.standard[1];
    startup.hStdError = handles.standard[2];
    std::wstring line = commandLine;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return lastError();
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
        code > static_cast<int32_t>(ExitCode::Refused)) {
        return std::nullopt;
    }
    return static_cast<ExitCode>(code);
}

uint64_t handleValue(HANDLE handle) { return reinterpret_cast<uintptr_t>(handle); }

HANDLE handleOf(uint64_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

}  // namespace

ExitCode runThroughHelper(const std::wstring& self, bool silent, std::wstring& problem)
{
    const std::wstring folder = temporaryFolder();
    HelperHandles handles;
    std::wstring copy;
    DWORD error = folder.empty() ? lastError() : makeHelperCopy(self, folder, copy, handles);
    if (error == ERROR_SUCCESS) {
        error = prepareHandles(handles);
    }
    if (error == ERROR_SUCCESS) {
        const UninstallRequest request{Role::Helper, silent, handleValue(handles.self),
                                       handleValue(handles.resultWrite), self};
        error = startHelper(copy, folder, helperCommandLine(copy, request), handles);
    }
    if (error != ERROR_SUCCESS) {
        closeAll(handles);
        problem = L"The uninstaller could not start its copy in the temporary folder: " +
                  systemMessage(error);
        return ExitCode::Incomplete;
    }
    // Only the helper may hold the write end now, so the read ends when the helper does.
    CloseHandle(handles.resultWrite);
    handles.resultWrite = nullptr;
    const std::optional<ExitCode> result = readResult(handles.resultRead);
    closeAll(handles);
    if (!result) {
        problem = L"The uninstaller's copy in the temporary folder ended without a result.";
        return ExitCode::Incomplete;
    }
    return *result;
}

void sendResult(uint64_t resultPipe, ExitCode result)
{
    const int32_t code = static_cast<int32_t>(result);
    DWORD written = 0;
    WriteFile(handleOf(resultPipe), &code, sizeof(code), &written, nullptr);
    CloseHandle(handleOf(resultPipe));
}

bool waitForOriginal(uint64_t originalProcess)
{
    const bool ended =
        WaitForSingleObject(handleOf(originalProcess), OriginalExitWait) == WAIT_OBJECT_0;
    CloseHandle(handleOf(originalProcess));
    return ended;
}
