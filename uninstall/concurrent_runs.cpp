#include "uninstall/concurrent_runs.h"

#include <optional>

#include "uninstall/file_identity.h"
#include "uninstall/hex_text.h"
#include "uninstall/removal_outcome.h"
#include "uninstall/user_messages.h"

namespace {

// Local\Velkaris-uninstall-<volume>-<file>, in hexadecimal.
std::wstring removalMutexName(const FileIdentity& identity)
{
    std::wstring name = L"Local\\Velkaris-uninstall-";
    for (int shift = 56; shift >= 0; shift -= 8) {
        appendHex(name, static_cast<uint8_t>(identity.volume >> shift));
    }
    name += L'-';
    for (const uint8_t byte : identity.file) {
        appendHex(name, byte);
    }
    return name;
}

}  // namespace

HANDLE lockUninstaller(const std::wstring& path, DWORD& error)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
    error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return file;
}

HANDLE claimRemoval(HANDLE file, DWORD& error)
{
    const std::optional<FileIdentity> identity = identityOf(file);
    if (!identity) {
        error = lastError();
        return nullptr;
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const HANDLE mutex = CreateMutexW(&inherit, FALSE, removalMutexName(*identity).c_str());
    if (mutex == nullptr) {
        error = lastError();
        return nullptr;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        error = ERROR_ALREADY_EXISTS;
        return nullptr;
    }
    error = ERROR_SUCCESS;
    return mutex;
}

bool installerIsOpen()
{
    // The installer's main window is a dialog that bears the product's name.
    const std::wstring title(ProductName);
    return FindWindowW(L"#32770", title.c_str()) != nullptr;
}
