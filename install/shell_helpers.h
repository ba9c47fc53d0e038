// Folder, per-user registry and shortcut operations used by the install steps.
#pragma once

#include <windows.h>

#include <cstdint>

// 1 when every folder along path exists or was created (or path is empty), 0 otherwise.
uint32_t createFolderChain(const wchar_t* path);
// 1 when the key under HKEY_CURRENT_USER could be created or opened; a null keyPath gives 0.
uint32_t writeUserValue(const wchar_t* keyPath, const wchar_t* valueName, DWORD type,
                        const void* data, DWORD size);
// The COM result of creating the shell link, or of saving it.
HRESULT createShortcut(const wchar_t* target, const wchar_t* link);
