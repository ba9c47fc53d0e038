#include "uninstall/original_handles.h"

#include <windows.h>

#include <optional>
#include <string>

#include "uninstall/file_identity.h"
#include "uninstall/file_removal.h"

namespace {

constexpr DWORD OriginalExitWait = 60000;  // the original ends right after the result

HANDLE handleOf(uint64_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

// The path of the program a process runs; nothing when the handle is not a process handle
// that allows the query.
std::optional<std::wstring> programOf(HANDLE process)
{
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &length)) {
        return std::nullopt;
    }
    path.resize(length);
    return path;
}

}  // namespace

bool handlesComeFromOriginal(const UninstallRequest& request)
{
    const HANDLE process = handleOf(request.originalProcess);
    const HANDLE file = handleOf(request.originalFile);
    if (GetFileType(handleOf(request.resultPipe)) != FILE_TYPE_PIPE ||
        GetFileType(file) != FILE_TYPE_DISK) {
        return false;
    }
    // Only a process handle names a program, so waiting on it afterwards has no side effect.
    const std::optional<std::wstring> program = programOf(process);
    if (!program || WaitForSingleObject(process, 0) != WAIT_TIMEOUT) {
        return false;
    }
    const std::optional<FileIdentity> original = identityOf(file);
    return original && identityOf(*program) == original &&
           identityOf(request.original) == original;
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

bool removeOriginal(const UninstallRequest& request, RemovalOutcome& outcome)
{
    return removeEndedProgram(handleOf(request.originalFile), request.original, outcome);
}
