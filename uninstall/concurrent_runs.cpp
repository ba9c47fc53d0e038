#include "uninstall/concurrent_runs.h"

#include "uninstall/removal_outcome.h"

HANDLE lockUninstaller(const std::wstring& path, DWORD& error)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return file;
}

bool installerIsOpen()
{
    // The installer's main window is a dialog that bears the product's name.
    const std::wstring title(ProductName);
    return FindWindowW(L"#32770", title.c_str()) != nullptr;
}
