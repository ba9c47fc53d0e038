// Reading back what a test wrote under HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct StoredValue {
    LONG status;
    DWORD type;
    std::vector<uint8_t> data;
};

// The value's type and raw bytes; status is the registry's answer.
StoredValue readValue(const std::wstring& key, const wchar_t* name);
bool keyExists(const std::wstring& path);
