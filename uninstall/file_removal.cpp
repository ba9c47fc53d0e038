#include "uninstall/file_removal.h"

#include <optional>

#include "uninstall/file_digest.h"
#include "uninstall/user_messages.h"

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

// Marks the file for deletion; the system removes it when its last handle is closed.
bool deleteThrough(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof(disposition));
}

enum class Match { Installed, Different, Unreadable };

Match compareWith(HANDLE file, const ApplicationFingerprint& installed, DWORD& error)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        error = lastError();
        return Match::Unreadable;
    }
    if (static_cast<uint64_t>(size.QuadPart) != installed.size) {
        return Match::Different;
    }
    const std::optional<Sha256> digest = sha256Of(file, error);
    if (!digest) {
        return Match::Unreadable;
    }
    return *digest == installed.sha256 ? Match::Installed : Match::Different;
}

// The file is opened once, shared with readers only, and checked and deleted through that
// handle: nobody can change, rename or replace it between the check and the delete.
void removeIfInstalled(const std::wstring& path, const ApplicationFingerprint& installed,
                       RemovalOutcome& outcome)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (!isMissing(error)) {
            noteFailure(outcome, path, systemMessage(error));
        }
        return;
    }
    DWORD error = ERROR_SUCCESS;
    switch (compareWith(file, installed, error)) {
    case Match::Installed:
        if (!deleteThrough(file)) {
            noteFailure(outcome, path, systemMessage(lastError()));
        }
        break;
    case Match::Different:
        outcome.keptPrograms.push_back(path);
        break;
    case Match::Unreadable:
        noteFailure(outcome, path, systemMessage(error));
        break;
    }
    CloseHandle(file);
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

void removeEndedProgram(HANDLE file, const std::wstring& path, RemovalOutcome& outcome)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < EndedProgramAttempts; ++attempt) {
        if (deleteThrough(file)) {
            return;
        }
        error = lastError();
        if (!isInUse(error)) {
            break;
        }
        Sleep(EndedProgramPause);
    }
    noteFailure(outcome, path, systemMessage(error));
}

void removeApplications(std::wstring_view folder,
                        std::span<const ApplicationFingerprint> applications,
                        RemovalOutcome& outcome)
{
    for (const ApplicationFingerprint& application : applications) {
        std::wstring path(folder);
        path += application.name;
        path += L".exe";
        removeIfInstalled(path, application, outcome);
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
