// What each row of a package holds: the role shown by `list` and the file name `extract`
// gives the entry. Rows 1 to 8 are the applications in the order of the installer's
// component table.
#pragma once

#include <array>
#include <string_view>

#include "package/package_types.h"

struct EntryRole {
    std::string_view name;
    std::string_view fileName;
};

inline constexpr std::array<EntryRole, PackageEntryCount> entryRoles{{
    {"licence", "00-licence.txt"},
    {"Brinet", "01-Brinet.exe"},
    {"PaneVista", "02-PaneVista.exe"},
    {"QuietVault", "03-QuietVault.exe"},
    {"Padwick", "04-Padwick.exe"},
    {"Tunewell", "05-Tunewell.exe"},
    {"Notarel", "06-Notarel.exe"},
    {"LockBin", "07-LockBin.exe"},
    {"Packrill", "08-Packrill.exe"},
    {"other-uninstaller", "09-other-uninstaller.exe"},
    {"uninstaller", "10-uninstaller.exe"},
}};

// The applications carry their files' time stamps; licence and uninstallers carry none.
constexpr bool entryHasTime(uint32_t index) {
    return index > LicenceEntry && index < OtherUninstallerEntry;
}

// The installer shows at most this many bytes of the licence.
constexpr uint32_t LicenceShownBytes = 511;
