#include "uninstall/helper_copy.h"

#include <wincrypt.h>

#include <array>
#include <optional>
#include <vector>

#include "uninstall/command_paths.h"
#include "uninstall/file_identity.h"
#include "uninstall/hex_text.h"
#include "uninstall/logon_cleanup.h"
#include "uninstall/user_messages.h"

namespace {

constexpr wchar_t FolderPrefix[] = L"Velkaris-uninstall-";
constexpr int FolderAttempts = 16;

std::wstring temporaryFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? std::wstring{} : std::wstring(path, length);
}

// 64 bits from the system's cryptographic generator, in hexadecimal; nothing on failure.
std::optional<std::wstring> randomName()
{
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL,
                              CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        return std::nullopt;
    }
    std::array<BYTE, 8> bytes{};
    const bool made = CryptGenRandom(provider, static_cast<DWORD>(bytes.size()), bytes.data());
    CryptReleaseContext(provider, 0);
    if (!made) {
        return std::nullopt;
    }
    std::wstring name;
    for (const BYTE byte : bytes) {
        appendHex(name, byte);
    }
    return name;
}

// Where the helper's folder goes: the temporary folder, or, when that lies on another
// volume than the uninstaller's file, which can move only on its own volume, the folder
// that holds the installation folder.
std::wstring helperBase(HANDLE ownFile, const std::wstring& installationFolder)
{
    const std::wstring temporary = temporaryFolder();
    const std::wstring_view parent = parentOf(installationFolder);
    const std::optional<FileIdentity> own = identityOf(ownFile);
    const std::optional<FileIdentity> there = identityOf(temporary);
    if (!own || !there || own->volume == there->volume || parent.empty()) {
        return temporary;
    }
    return std::wstring(parent);
}

// Creates a new folder in base whose name nobody took before.
DWORD makeFolder(const std::wstring& base, std::wstring& folder)
{
    if (base.empty()) {
        return lastError();
    }
    DWORD error = ERROR_ALREADY_EXISTS;
    for (int attempt = 0; attempt < FolderAttempts && error == ERROR_ALREADY_EXISTS; ++attempt) {
        const std::optional<std::wstring> name = randomName();
        if (!name) {
            return lastError();
        }
        folder = base + FolderPrefix + *name;
        error = CreateDirectoryW(folder.c_str(), nullptr) ? ERROR_SUCCESS : lastError();
    }
    return error;
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
// Returns the new file's identity; nothing, with the reason in error, when it fails.
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
    return identity;
}

DWORD writeAndHold(HANDLE ownFile, HelperCopy& copy)
{
    const std::optional<std::vector<char>> bytes = contentsOf(ownFile);
    if (!bytes) {
        return lastError();
    }
    DWORD error = ERROR_SUCCESS;
    const std::optional<FileIdentity> written = writeNewFile(copy.program, *bytes, error);
    if (!written) {
        return error;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    copy.file = CreateFileW(copy.program.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit,
                            OPEN_EXISTING, 0, nullptr);
    if (copy.file == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    if (identityOf(copy.file) != written || contentsOf(copy.file) != bytes) {
        return ERROR_FILE_INVALID;
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD makeHelperCopy(HANDLE ownFile, const std::wstring& installationFolder, HelperCopy& copy)
{
    DWORD error = makeFolder(helperBase(ownFile, installationFolder), copy.folder);
    if (error != ERROR_SUCCESS) {
        copy.folder.clear();
        return error;
    }
    copy.program = copy.folder + L"\\uninstall.exe";
    error = removeAtNextLogon(helperCleanupName(copy.program), copy.folder,
                              FolderRemoval::WithContents);
    if (error == ERROR_SUCCESS) {
        error = writeAndHold(ownFile, copy);
    }
    if (error != ERROR_SUCCESS) {
        discardHelperCopy(copy);
    }
    return error;
}

void discardHelperCopy(HelperCopy& copy)
{
    if (copy.folder.empty()) {
        return;
    }
    if (copy.file != INVALID_HANDLE_VALUE) {
        CloseHandle(copy.file);
        copy.file = INVALID_HANDLE_VALUE;
    }
    DeleteFileW(copy.program.c_str());
    if (RemoveDirectoryW(copy.folder.c_str())) {
        cancelRemovalAtNextLogon(helperCleanupName(copy.program));
    }
    copy = {};
}

std::wstring helperCleanupName(const std::wstring& helperProgram)
{
    std::wstring_view folder = folderOf(helperProgram);
    folder.remove_suffix(folder.empty() ? 0 : 1);
    const std::wstring_view name = folder.substr(folderOf(folder).size());
    return std::wstring(name);
}
