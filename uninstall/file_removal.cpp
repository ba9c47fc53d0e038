#include "uninstall/file_removal.h"

#include <optional>

#include "uninstall/file_digest.h"
#include "uninstall/link_entries.h"
#include "uninstall/user_messages.h"

namespace {

constexpr int EndedProgramAttempts = 20;
constexpr DWORD EndedProgramPause = 100;  // milliseconds between two attempts
constexpr int NotEmptyAttempts = 10;
constexpr DWORD NotEmptyPause = 100;  // milliseconds between two attempts

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool isInUse(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// Windows 10 1607's class; the toolchain declares it only for a later target version.
constexpr auto DispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);

// Systems and file systems without the class or its POSIX semantics refuse it so.
bool lacksPosixDelete(DWORD error)
{
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION;
}

// Marks the file for deletion, with POSIX semantics where the system has them.
bool deleteThrough(HANDLE file)
{
    FILE_DISPOSITION_INFO_EX posix{FILE_DISPOSITION_FLAG_DELETE |
                                   FILE_DISPOSITION_FLAG_POSIX_SEMANTICS};
    if (SetFileInformationByHandle(file, DispositionInfoEx, &posix, sizeof(posix))) {
        return true;
    }
    if (!lacksPosixDelete(GetLastError())) {
        return false;
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof(disposition));
}

// Opening a path of the pack's failed: a missing file counts as removed.
void noteOpenFailure(const std::wstring& path, RemovalOutcome& outcome)
{
    const DWORD error = GetLastError();
    if (!isMissing(error)) {
        noteFailure(outcome, path, systemMessage(error));
    }
}

void deleteNoted(HANDLE file, const std::wstring& path, RemovalOutcome& outcome)
{
    if (deleteThrough(file)) {
        outcome.deletedFiles.push_back(path);
    } else {
        noteFailure(outcome, path, systemMessage(lastError()));
    }
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

// Deletes the file open through the handle when it is the one installed.
void removeMatching(HANDLE file, const std::wstring& path, const ApplicationFingerprint& installed,
                    RemovalOutcome& outcome)
{
    DWORD error = ERROR_SUCCESS;
    switch (compareWith(file, installed, error)) {
    case Match::Installed:
        deleteNoted(file, path, outcome);
        break;
    case Match::Different:
        outcome.keptPrograms.push_back(path);
        break;
    case Match::Unreadable:
        noteFailure(outcome, path, systemMessage(error));
        break;
    }
}

// The file is opened once, shared with readers only, and checked and deleted through that
// handle: nobody can change, rename or replace it between the check and the delete. A link
// in its place goes without a check: deleting a link loses nothing.
void removeIfInstalled(const std::wstring& path, const ApplicationFingerprint& installed,
                       RemovalOutcome& outcome)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        noteOpenFailure(path, outcome);
        return;
    }
    switch (entryOf(file, path)) {
    case Entry::Itself:
        removeMatching(file, path, installed, outcome);
        break;
    case Entry::Link:
        deleteNoted(file, path, outcome);
        break;
    case Entry::Elsewhere:
        outcome.keptPrograms.push_back(path);
        break;
    }
    CloseHandle(file);
}

// The folder itself, or the junction or symbolic link at its path, opened for deletion and
// shared with everyone: the open fails only where the user may not delete it or another
// handle does not share its deletion.
HANDLE openFolderForDeletion(const std::wstring& folder)
{
    return CreateFileW(folder.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                       nullptr);
}

// Deletes the folder through a handle of its own; ERROR_SUCCESS or the reason, such as
// ERROR_DIR_NOT_EMPTY.
DWORD deleteFolder(const std::wstring& folder)
{
    const HANDLE handle = openFolderForDeletion(folder);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    const DWORD error = deleteThrough(handle) ? ERROR_SUCCESS : lastError();
    CloseHandle(handle);
    return error;
}

// A folder whose deletion waits for another program's handle still has its name, although
// it can no longer be opened.
bool folderExists(const std::wstring& folder)
{
    return GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES ||
           !isMissing(GetLastError());
}

}  // namespace

void removeFile(const std::wstring& path, RemovalOutcome& outcome)
{
    const HANDLE file = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        noteOpenFailure(path, outcome);
        return;
    }
    if (entryOf(file, path) != Entry::Elsewhere) {
        deleteNoted(file, path, outcome);
    }
    CloseHandle(file);
}

bool removeEndedProgram(HANDLE file, const std::wstring& path, RemovalOutcome& outcome)
{
    bool deleted = deleteThrough(file);
    DWORD error = deleted ? ERROR_SUCCESS : lastError();
    for (int attempt = 1; !deleted && isInUse(error) && attempt < EndedProgramAttempts;
         ++attempt) {
        Sleep(EndedProgramPause);
        deleted = deleteThrough(file);
        error = deleted ? ERROR_SUCCESS : lastError();
    }
    CloseHandle(file);
    if (deleted) {
        outcome.deletedFiles.push_back(path);
    } else {
        noteFailure(outcome, path, systemMessage(error));
    }
    return deleted;
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

std::optional<std::vector<std::wstring>> folderEntries(const std::wstring& folder)
{
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\') {
        prefix += L'\\';
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW((prefix + L'*').c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::vector<std::wstring> entries;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            entries.push_back(prefix + found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        return std::nullopt;
    }
    return entries;
}

std::optional<FolderState> inspectFolder(const std::wstring& folder, DWORD& error)
{
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = lastError();
        return std::nullopt;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        error = ERROR_DIRECTORY;
        return std::nullopt;
    }
    std::optional<std::vector<std::wstring>> entries = folderEntries(folder);
    if (!entries) {
        error = lastError();
        return std::nullopt;
    }
    FolderState state{std::move(*entries)};
    state.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    // The system checks the permissions before the sharing: a sharing violation means that
    // the user may delete the folder once it is free.
    const HANDLE handle = openFolderForDeletion(folder);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD refusal = GetLastError();
        state.heldOpen = refusal == ERROR_SHARING_VIOLATION;
        state.deletionDenied = refusal == ERROR_ACCESS_DENIED;
    } else {
        CloseHandle(handle);
    }
    error = ERROR_SUCCESS;
    return state;
}

std::optional<FolderFate> removeFolder(const std::wstring& folder, RemovalOutcome& outcome)
{
    for (int attempt = 1;; ++attempt) {
        DWORD error = ERROR_SUCCESS;
        std::optional<FolderState> state = inspectFolder(folder, error);
        if (!state && isMissing(error)) {
            return FolderFate::Removed;
        }
        if (!state) {
            noteFailure(outcome, folder, systemMessage(error));
            return std::nullopt;
        }
        state->refusedAsNotEmpty = attempt > NotEmptyAttempts;
        const FolderFate fate = folderFate(*state, outcome.deletedFiles);
        if (fate != FolderFate::Removed) {
            return fate;
        }
        error = deleteFolder(folder);
        if (error == ERROR_SUCCESS || isMissing(error)) {
            return folderExists(folder) ? FolderFate::AtNextLogon : FolderFate::Removed;
        }
        // Another program took the folder meanwhile, or the system lags behind: judged again.
        if (error != ERROR_DIR_NOT_EMPTY && error != ERROR_SHARING_VIOLATION) {
            noteFailure(outcome, folder, systemMessage(error));
            return std::nullopt;
        }
        Sleep(NotEmptyPause);
    }
}
