#include "uninstall/original_handles.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "uninstall/file_identity.h"
#include "uninstall/file_removal.h"
#include "uninstall/link_entries.h"
#include "uninstall/user_messages.h"

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

bool originalIsAtItsPath(const UninstallRequest& request)
{
    return entryOf(handleOf(request.originalFile), request.original) == Entry::Itself;
}

DWORD moveOriginal(const UninstallRequest& request, const std::wstring& path)
{
    const size_t nameBytes = path.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes +
                                  sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, path.data(), nameBytes);
    return SetFileInformationByHandle(handleOf(request.originalFile), FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size()))
               ? ERROR_SUCCESS
               : lastError();
}

void discardOriginal(const UninstallRequest& request, const std::wstring& path)
{
    WaitForSingleObject(handleOf(request.originalProcess), OriginalExitWait);
    CloseHandle(handleOf(request.originalProcess));
    RemovalOutcome unreported;
    removeEndedProgram(handleOf(request.originalFile), path, unreported);
}
