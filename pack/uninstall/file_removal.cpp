#include "pack/uninstall/file_removal.h"

#include <windows.h>

#include "pack/uninstall/removal_plan.h"
#include "pack/uninstall/user_messages.h"

namespace {

constexpr int EndedProgramAttempts = 20;
constexpr DWORD EndedProgramPause = 100;  // milliseconds between two attempts

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool isInUse(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

}  // namespace

void removeFile(const std::wstring& path, RemovalOutcome& outcome)
{
    if (DeleteFileW(path.c_str())) {
        return;
    }
    const DWORD error = GetLastError();
    if (!isMissing(error)) {
        noteFailure(outcome, path, systemMessage(error));
    }
}

void removeEndedProgram(const std::wstring& path, RemovalOutcome& outcome)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < EndedProgramAttempts; ++attempt) {
        if (DeleteFileW(path.c_str())) {
            return;
        }
        error = GetLastError();
        if (!isInUse(error)) {
            break;
        }
        Sleep(EndedProgramPause);
    }
    if (!isMissing(error)) {
        noteFailure(outcome, path, systemMessage(error));
    }
}

void removeApplications(std::wstring_view folder, RemovalOutcome& outcome)
{
    for (const std::wstring_view name : ApplicationNames) {
        std::wstring path(folder);
        path += name;
        path += L".exe";
        removeFile(path, outcome);
    }
}

bool removeFolderIfEmpty(const std::wstring& folder, RemovalOutcome& outcome)
{
    if (RemoveDirectoryW(folder.c_str())) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_DIR_NOT_EMPTY) {
        return false;
    }
    if (!isMissing(error)) {
        noteFailure(outcome, folder, systemMessage(error));
        return false;
    }
    return true;
}
