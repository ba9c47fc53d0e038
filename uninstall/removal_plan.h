// What the uninstaller removes from the registry, decided from what the registry holds now:
// only the values and keys that still belong to this installation. Portable: the registry
// is read through RegistryReader, so host tests can hand in any state.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The eight applications, as their executables (<name>.exe) and shortcuts (<name>.lnk)
// are named.
inline constexpr std::array<std::wstring_view, 8> ApplicationNames = {
    L"Brinet", L"PaneVista", L"QuietVault", L"Padwick",
    L"Tunewell", L"Notarel", L"LockBin", L"Packrill",
};
// The folder of the shortcuts in the user's Start-menu programs folder.
inline constexpr std::wstring_view StartMenuFolderName = L"Velkaris";

enum class RegistryAction {
    DeleteTree,        // the key with all its values and subkeys
    DeleteValue,       // one value of the key; an empty name is the key's default value
    DeleteKeyIfEmpty,  // the key when it has neither values nor subkeys; never a failure
};

// One change under HKEY_CURRENT_USER.
struct RegistryStep {
    RegistryAction action;
    std::wstring key;
    std::wstring value;

    bool operator==(const RegistryStep&) const = default;
};

// Reads string values under HKEY_CURRENT_USER.
class RegistryReader {
public:
    // The text of a string value (an empty name is the key's default value), or nothing
    // when the key or the value is missing or holds no text.
    virtual std::optional<std::wstring> readText(std::wstring_view key,
                                                 std::wstring_view value) const = 0;

protected:
    ~RegistryReader() = default;
};

// The installation being removed: its folder and the uninstaller's own path in it.
struct Installation {
    std::wstring folder;
    std::wstring uninstaller;
};

// True when AppPath names the folder or the uninstall registration starts this
// uninstaller: only then are the applications in the folder this pack's.
bool isInstalledHere(const RegistryReader& registry, const Installation& installation);

// Removes the shell verbs, ProgIDs and extensions whose commands still start a program in
// the folder (an extension only while its default value names that ProgID), then the
// keys above them that are left empty.
std::vector<RegistryStep> planFileTypes(const RegistryReader& registry,
                                        const Installation& installation);

// Removes the uninstall registration when it starts this uninstaller and AppPath when it
// names the folder, then the keys above them that are left empty.
std::vector<RegistryStep> planRegistration(const RegistryReader& registry,
                                           const Installation& installation);
