#include "tests/win/app_test_setup.h"

#include <shlobj.h>

#include "setup/component_table.h"

TestSetup::TestSetup() {
    context.instance = GetModuleHandleW(nullptr);
    context.componentNames = componentTable;
    theSetup = &context;
}

TestSetup::~TestSetup() {
    if (context.unpacked.owned != 0) {
        context.unpacked.release();
    }
}

void setAppPath(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Velkaris", 0, nullptr, 0, KEY_WRITE, nullptr,
                    &key, nullptr);
    RegSetValueExW(key, L"AppPath", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void setAppPathString(const std::wstring& value) {
    setAppPath(REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void deleteVelkarisKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Velkaris");
}

std::wstring knownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring makeFolders(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
        }
    }
    return path;
}
