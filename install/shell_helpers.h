// Folder, per-user registry and shortcut operations used by the install steps.
#pragma once

#include <windows.h>

#include <cstdint>

// 1 when every folder along path exists or was created (or path is empty), 0 otherwise.
uint32_t createFolderChain(const wchar_t* path);
// 1 when the value was written, its key under HKEY_CURRENT_USER created or opened; 0 when
// the key or the value could not be written, or keyPath is null.
uint32_t writeUserValue(const wchar_t* keyPath, const wchar_t* valueName, DWORD type,
                        const void* data, DWORD size);
// The COM result of creating the shell link, or of saving it.
HRESULT createShortcut(const wchar_t* target, const wchar_t* link);
