#include "app/load_defaults.h"

#include <shlobj.h>

#include "setup/package_resource.h"
#include "setup/path_helpers.h"
#include "setup/path_limits.h"
#include "setup/wide_text.h"

namespace {

// The registry value is read raw into installDir; 472 bytes leave room for the trailing
// backslash and keep every installed path within the platform's limit.
constexpr DWORD AppPathMaxBytes = 472;
static_assert(AppPathMaxBytes / sizeof(wchar_t) + 1 <= MaxDestinationChars);
static_assert(AppPathMaxBytes < sizeof(SetupContext::installDir));

constexpr const wchar_t* MakerFolder = L"Velkaris";

bool isExistingFolder(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Reads AppPath of an earlier installation into installDir; true when it names an existing
// folder. The value's type is not asked for: any bytes that name a folder are taken.
bool readPreviousFolder(SetupContext& setup) {
    // A null key path (one too long for scratch) would open HKEY_CURRENT_USER itself.
    const wchar_t* keyPath = buildKeyPath(setup, MakerFolder);
    HKEY key = nullptr;
    if (keyPath == nullptr ||
        RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = AppPathMaxBytes;
    const LONG result = RegQueryValueExW(key, L"AppPath", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(setup.installDir), &size);
    RegCloseKey(key);
    // The field is zero beyond the bytes read, so a value without terminator still ends here.
    return result == ERROR_SUCCESS && isExistingFolder(setup.installDir);
}

// Puts a known folder, "Velkaris" and a backslash into folder; false when the lookup fails.
bool knownFolderWithMaker(int csidl, wchar_t (&folder)[FolderFieldUnits],
                          wchar_t (*parent)[FolderFieldUnits]) {
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return false;
    }
    ensureTrailingBackslash(folder);
    if (parent != nullptr) {
        copyWide(*parent, folder);
    }
    if (!appendWide(folder, MakerFolder)) {
        return false;
    }
    ensureTrailingBackslash(folder);
    return true;
}

}  // namespace

uint32_t loadDefaults() {
    SetupContext& setup = *theSetup;
    if (loadPackage(setup) != Ok) {
        return 0;
    }
    if (readPreviousFolder(setup)) {
        copyWide(setup.browsePath, setup.installDir);
        ensureTrailingBackslash(setup.installDir);
    } else if (!knownFolderWithMaker(CSIDL_APPDATA, setup.installDir, &setup.browsePath)) {
        return 0;
    }
    if (!knownFolderWithMaker(CSIDL_PROGRAMS, setup.shortcutDir, nullptr)) {
        return 0;
    }
    return 1;
}
