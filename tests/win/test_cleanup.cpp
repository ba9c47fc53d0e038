#include "tests/win/test_cleanup.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/checks/folder_removal.h"

namespace {

class Removals : public ::testing::Environment {
public:
    void TearDown() override {
        SetCurrentDirectoryW(L"C:\\");
        for (const std::wstring& root : roots) {
            removeFolderTree(root);
        }
        for (const wchar_t* key : keys) {
            removeKeysAndEmptyParents({key});
        }
    }
    std::vector<std::wstring> roots;
    std::vector<const wchar_t*> keys;
};

Removals& removals() {
    static Removals* environment = [] {
        auto* made = new Removals;
        ::testing::AddGlobalTestEnvironment(made);
        return made;
    }();
    return *environment;
}

}  // namespace

bool removedAfterTheTests(const std::wstring& folder) {
    removals().roots.push_back(folder);
    return true;
}

bool keysRemovedAfterTheTests(std::initializer_list<const wchar_t*> keys) {
    removals().keys.insert(removals().keys.end(), keys);
    return true;
}

void removeKeysAndEmptyParents(std::initializer_list<const wchar_t*> keys) {
    for (const wchar_t* key : keys) {
        RegDeleteTreeW(HKEY_CURRENT_USER, key);
        RegDeleteKeyW(HKEY_CURRENT_USER, key);
        std::wstring parent = key;
        for (size_t end = parent.rfind(L'\\'); end != std::wstring::npos && end > 8;
             end = parent.rfind(L'\\')) {
            parent.resize(end);
            HKEY opened = nullptr;
            DWORD subkeys = 1;
            DWORD values = 1;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, parent.c_str(), 0, KEY_READ, &opened) ==
                ERROR_SUCCESS) {
                RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                 &values, nullptr, nullptr, nullptr, nullptr);
                RegCloseKey(opened);
            }
            if (subkeys != 0 || values != 0 || RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str()) !=
                                                    ERROR_SUCCESS) {
                break;
            }
        }
    }
}
