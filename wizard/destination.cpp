#include "wizard/destination.h"

#include <shlobj.h>

#include <cwchar>

#include "setup/page_controls.h"
#include "setup/path_helpers.h"
#include "setup/path_limits.h"
#include "setup/setup_context.h"
#include "setup/wide_text.h"
#include "wizard/page_focus.h"
#include "wizard/space_rules.h"

namespace {

constexpr wchar_t BrowseTitle[] = L"Select a destination folder for Velkaris App Pack.";
constexpr UINT BrowseFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
constexpr uint32_t DisplayNameUnits = 260;
constexpr uint32_t RootUnits = 3;
constexpr uint32_t TooLongTextUnits = 128;

static_assert(SpaceLinesExtent <= ScratchBytes, "the space lines live in scratch");

// A folder longer than the limit would make the installed paths overflow the platform's
// path limit, so it is refused here, before anything is installed, and the user is told.
void reportFolderTooLong(HWND owner) {
    wchar_t text[TooLongTextUnits];
    wsprintfW(text,
              L"The folder path is too long. Choose a folder with a path of at most %u "
              L"characters.",
              MaxDestinationChars);
    MessageBoxW(owner, text, SetupCaption, MB_ICONWARNING);
}

bool freeSpaceAt(const wchar_t* path, uint64_t& freeBytes) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(path, &available, nullptr, nullptr)) {
        return false;
    }
    freeBytes = available.QuadPart;
    return true;
}

// Bytes available to this user on the destination's volume: asked of the drive root (the
// first three units) first, then of the whole folder, which also serves network paths.
uint64_t destinationFreeSpace(const wchar_t* installDir) {
    wchar_t root[RootUnits + 1] = {};
    std::wcsncpy(root, installDir, RootUnits);
    uint64_t freeBytes = 0;
    if (freeSpaceAt(root, freeBytes) || freeSpaceAt(installDir, freeBytes)) {
        return freeBytes;
    }
    return MissingFreeSpace;
}

// Bit i set when box 1006 + i reports exactly checked.
uint32_t checkedApplications(HWND componentsPage) {
    uint32_t mask = 0;
    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        if (IsDlgButtonChecked(componentsPage, FirstComponentBox + static_cast<int>(i)) ==
            BST_CHECKED) {
            mask |= 1u << i;
        }
    }
    return mask;
}

}  // namespace

void browseForDestination() {
    SetupContext& setup = *theSetup;
    BrowseRequest request{setup.pages[setup.currentPage], nullptr, BrowseTitle, nullptr,
                          setup.browsePath};
    wchar_t displayName[DisplayNameUnits] = {};
    BROWSEINFOW info{};
    info.hwndOwner = request.owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = request.title;
    info.ulFlags = BrowseFlags;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&request);
    info.iImage = 0;

    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (item == nullptr) {
        return;
    }
    const BOOL gotPath = SHGetPathFromIDListW(item, request.path);
    CoTaskMemFree(item);
    if (!gotPath) {
        return;
    }
    if (!destinationFits(setup.browsePath)) {
        reportFolderTooLong(request.owner);
        return;
    }
    copyWide(setup.installDir, setup.browsePath);
    ensureTrailingBackslash(setup.installDir);
    SetDlgItemTextW(setup.pages[Destination], DestinationField, setup.installDir);
    updateSpace();
}

// Once the browser's window exists: its caption, its OK text and the folder to select.
int CALLBACK browseCallback(HWND browserWindow, UINT message, LPARAM, LPARAM request) {
    if (message != BFFM_INITIALIZED) {
        return 0;
    }
    const auto* browse = reinterpret_cast<const BrowseRequest*>(request);
    if (browse->caption != nullptr) {
        SetWindowTextW(browserWindow, browse->caption);
    }
    if (browse->okText != nullptr) {
        SendMessageW(browserWindow, BFFM_SETOKTEXT, 0, reinterpret_cast<LPARAM>(browse->okText));
    }
    if (browse->path != nullptr && browse->path[0] != L'\0') {
        SendMessageW(browserWindow, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(browse->path));
    }
    return 0;
}

void updateSpace() {
    SetupContext& setup = *theSetup;
    HWND page = setup.pages[Destination];
    setup.requiredBytes =
        requiredBytesFor(setup.entries, checkedApplications(setup.pages[Components]));

    char* lines = setup.scratch.text;
    writeRequiredLine(lines, setup.requiredBytes);
    SetDlgItemTextA(page, SpaceRequiredLine, lines);

    const uint64_t freeBytes = destinationFreeSpace(setup.installDir);
    writeAvailableLine(lines, freeBytes);
    SetDlgItemTextA(page, SpaceAvailableLine, lines);

    const bool allowed = installAllowed(setup.requiredBytes, clampFreeSpace(freeBytes),
                                        std::wcslen(setup.installDir));
    EnableWindow(GetDlgItem(page, NextCommand), allowed);
    if (setup.currentPage == Destination) {
        keepFocusUsable(page);
    }
}
