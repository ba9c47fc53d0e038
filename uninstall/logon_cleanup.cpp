#include "uninstall/logon_cleanup.h"

namespace {

constexpr wchar_t RunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

}  // namespace

std::wstring systemFolder()
{
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring{} : std::wstring(path, length);
}

std::optional<std::wstring> logonRemovalCommand(const std::wstring& folder,
                                                FolderRemoval removal)
{
    const std::wstring system = systemFolder();
    if (system.empty()) {
        return std::nullopt;
    }
    return folderRemovalCommand(system, folder, removal);
}

DWORD removeAtNextLogon(const std::wstring& name, const std::wstring& folder,
                        FolderRemoval removal)
{
    const std::optional<std::wstring> command = logonRemovalCommand(folder, removal);
    if (!command) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    const DWORD bytes = static_cast<DWORD>((command->size() + 1) * sizeof(wchar_t));
    return static_cast<DWORD>(RegSetKeyValueW(HKEY_CURRENT_USER, RunOnceKey, name.c_str(),
                                              REG_SZ, command->c_str(), bytes));
}

void cancelRemovalAtNextLogon(const std::wstring& name)
{
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunOnceKey, name.c_str());
}
