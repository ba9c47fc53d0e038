// Writes one value below HKEY_CURRENT_USER, creating the keys along its path.
#include "install/shell_helpers.h"

uint32_t writeUserValue(const wchar_t* keyPath, const wchar_t* valueName, DWORD type,
                        const void* data, DWORD size) {
    // A null key path is how buildKeyPath reports a path too long for scratch.
    if (keyPath == nullptr) {
        return 0;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    const LONG written =
        RegSetValueExW(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return written == ERROR_SUCCESS ? 1 : 0;
}
