// The one record of all setup state, reached through theSetup from every module.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "package/package_types.h"

enum SetupState : uint32_t { Wizard = 0, Installing = 1, Finished = 2, Closing = 3 };
enum WizardPage : uint32_t { Licence = 0, Components = 1, Destination = 2, Progress = 3 };

constexpr uint32_t PageCount = 4;
constexpr uint32_t ApplicationCount = 8;
constexpr uint32_t FolderFieldUnits = 300;
constexpr uint32_t ScratchBytes = 512;

// Nine pointers to constant names: the eight applications, then the uninstaller.
using ComponentTable = std::array<const wchar_t*, 9>;
constexpr uint32_t UninstallComponent = 8;

// 512 bytes shared in turn by a registry key path (UTF-16), the licence text and the
// disk-space lines (ANSI).
union ScratchBuffer {
    char text[ScratchBytes];
    wchar_t wide[ScratchBytes / sizeof(wchar_t)];
};

struct SetupContext {
    HINSTANCE instance;
    HWND mainWindow;
    HWND pages[PageCount];
    HWND detailsList;
    HICON icon;
    const uint8_t* packageData;
    uint32_t packageSize;
    uint32_t currentPage;
    uint32_t state;
    uint32_t errorCount;
    uint32_t requiredBytes;
    uint32_t pendingStep;
    wchar_t installDir[FolderFieldUnits];
    wchar_t shortcutDir[FolderFieldUnits];
    wchar_t browsePath[FolderFieldUnits];
    PackageEntry entries[PackageEntryCount];
    UnpackBuffer unpacked;
    ScratchBuffer scratch;
    ComponentTable componentNames;
    // 1 once a component step has written file types or shell verbs: the final step then
    // tells Explorer, which caches them.
    uint32_t associationsChanged;
    // The font each page's controls were given at the last DPI change, null before one; the
    // main window's destruction deletes them.
    HFONT pageFonts[PageCount];
};

extern SetupContext* theSetup;
