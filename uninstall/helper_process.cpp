#include "uninstall/helper_process.h"

#include <vector>

#include "uninstall/file_identity.h"
#include "uninstall/uninstall_request.h"
#include "uninstall/user_messages.h"

namespace {

// Handles the helper inherits; every one is closed again by the original.
struct HelperHandles {
    HANDLE copy = INVALID_HANDLE_VALUE;  // the helper's file, deleted on its last close
    HANDLE resultRead = nullptr;
    HANDLE resultWrite = nullptr;
    HANDLE self = nullptr;
    HANDLE ownFile = nullptr;
    HANDLE standard[3] = {};
};

void closeAll(HelperHandles& handles)
{
    for (HANDLE handle : {handles.copy, handles.resultRead, handles.resultWrite, handles.self,
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

std::wstring temporaryFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? std::wstring{} : std::wstring(path, length);
}

// The bytes of the file, read through the handle from its start; nothing on a read error.
std::optional<std::vector<char>> contentsOf(HANDLE file)
{
    LARGE_INTEGER size{};
    const LARGE_INTEGER start{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > MAXDWORD ||
        !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return std::nullopt;
    }
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

// Writes the bytes to a new file at path through a handle that shares it with nobody.
// Returns the new file's identity; nothing, with the reason in error, when it fails (a
// file it began is deleted again).
std::optional<FileIdentity> writeNewFile(const std::wstring& path, const std::vector<char>& bytes,
                                         DWORD& error)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = lastError();
        return std::nullopt;
    }
    DWORD written = 0;
    std::optional<FileIdentity> identity;
    if (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size()) {
        identity = identityOf(file);
    }
    if (!identity) {
        error = lastError();
    }
    CloseHandle(file);
    if (!identity) {
        DeleteFileW(path.c_str());
    }
    return identity;
}

// Writes the original's bytes to a new file in folder and holds it open, shared with
// readers only and deleted on close. The system starts no program while a handle with
// write access to its file is open, so the writing handle is closed before the holding one
// is opened; the held file is then checked to be the one written, with the same bytes, so
// that nothing can have taken its place in between.
DWORD makeHelperCopy(HANDLE ownFile, const std::wstring& folder, std::wstring& copy,
                     HelperHandles& handles)
{
    const std::optional<std::vector<char>> bytes = contentsOf(ownFile);
    if (!bytes) {
        return lastError();
    }
    DWORD error = ERROR_FILE_EXISTS;
    std::optional<FileIdentity> written;
    for (unsigned attempt = 0; attempt < 100 && !written && error == ERROR_FILE_EXISTS;
         ++attempt) {
        copy = folder + L"Velkaris-uninstall-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(attempt) + L".exe";
        written = writeNewFile(copy, *bytes, error);
    }
    if (!written) {
        return error;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    handles.copy = CreateFileW(copy.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, &inherit,
                               OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handles.copy == INVALID_HANDLE_VALUE) {
        error = lastError();
        DeleteFileW(copy.c_str());
        return error;
    }
    if (identityOf(handles.copy) != written || contentsOf(handles.copy) != bytes) {
        return ERROR_FILE_INVALID;
    }
    return ERROR_SUCCESS;
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

}  // namespace

ExitCode runThroughHelper(const std::wstring& self, HANDLE ownFile, bool silent,
                          std::wstring& problem)
{
    const std::wstring folder = temporaryFolder();
    HelperHandles handles;
    std::wstring copy;
    DWORD error = folder.empty() ? lastError() : makeHelperCopy(ownFile, folder, copy, handles);
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
