#include "wizard/pages.h"

#include <algorithm>
#include <cstring>

#include "setup/page_controls.h"
#include "setup/setup_context.h"
#include "setup/window_dpi.h"
#include "wizard/destination.h"
#include "wizard/page_focus.h"
#include "wizard/page_layout.h"

namespace {

constexpr uint32_t LicenceMaxBytes = ScratchBytes - 1;
constexpr COLORREF DetailsBackground = RGB(2, 38, 9);
constexpr COLORREF DetailsText = RGB(6, 176, 37);

struct PageText {
    WizardPage page;
    int control;
    const char* text;
};

// Every fixed text of the pages, set in this order; the templates carry none.
constexpr PageText PageTexts[] = {
    {Licence, LicenceHeading,
     "Please review the license agreement before installing Velkaris App Pack. If you accept "
     "all terms of the agreement, click I Agree."},
    {Components, ComponentsHeading,
     "Check the components you want to install and uncheck the components you don't want to "
     "install. Click Next to continue."},
    {Destination, DestinationHeading,
     "Setup will install Velkaris App Pack in the following folder. To install in a different "
     "folder, click Browse and select another folder. Click Install to start the installation."},
    {Destination, DestinationGroup, "Destination Folder"},
    {Licence, NextCommand, "I &Agree"},
    {Components, NextCommand, "&Next >"},
    {Destination, NextCommand, "&Install"},
    {Progress, NextCommand, "&Close"},
    {Licence, CancelCommand, "Cancel"},
    {Components, CancelCommand, "Cancel"},
    {Destination, CancelCommand, "Cancel"},
    {Destination, BrowseCommand, "B&rowse..."},
    {Components, BackCommand, "< &Back"},
    {Destination, BackCommand, "< &Back"},
    {Progress, ShowDetailsCommand, "Show &Details"},
};

// Shows the start of package entry 0 as the licence: at most 511 bytes, always terminated,
// and never read past the end of the unpack block.
void loadLicenceText(SetupContext& setup) {
    char* text = setup.scratch.text;
    std::memset(text, 0, ScratchBytes);
    const PackageEntry& licence = setup.entries[LicenceEntry];
    const uint32_t blockLength = setup.unpacked.length;
    const uint32_t inBlock = licence.offset < blockLength ? blockLength - licence.offset : 0;
    const uint32_t count = std::min({licence.size, LicenceMaxBytes, inBlock});
    if (count != 0) {
        std::memcpy(text, setup.unpacked.data + licence.offset, count);
    }
    SetDlgItemTextA(setup.pages[Licence], LicenceField, text);
}

// Reveals the details list in place of its button, for good: the list keeps the focus.
void showDetails(SetupContext& setup) {
    ShowWindow(GetDlgItem(setup.pages[Progress], ShowDetailsCommand), SW_HIDE);
    ShowWindow(setup.detailsList, SW_SHOW);
    SetFocus(setup.detailsList);
}

// The buttons of every page; the command is the same whichever page sent it, because only
// the visible page gets input.
INT_PTR onCommand(int command) {
    SetupContext& setup = *theSetup;
    switch (command) {
    case NextCommand:
        showPage(setup.currentPage + 1);
        return 1;
    case CancelCommand:
        PostMessageW(setup.mainWindow, WM_CLOSE, 0, 0);
        return 1;
    case BackCommand:
        showPage(setup.currentPage - 1);
        return 1;
    case BrowseCommand:
        browseForDestination();
        return 1;
    case ShowDetailsCommand:
        showDetails(setup);
        return 1;
    default:
        return 0;
    }
}

// Paints the details list green on dark green; every other list keeps its colours.
INT_PTR onListColour(HDC dc, HWND list) {
    if (list != theSetup->detailsList) {
        return 0;
    }
    SetDCBrushColor(dc, DetailsBackground);
    SetBkColor(dc, DetailsBackground);
    SetTextColor(dc, DetailsText);
    return reinterpret_cast<INT_PTR>(GetStockObject(DC_BRUSH));
}

// Sent to every window of the tree once the dialog manager has rescaled the main window and
// the pages, which are its only immediate children: it leaves their controls as they were,
// so each page lays its own out at its new DPI.
INT_PTR onDpiChangedAfterParent(HWND page) {
    const SetupContext& setup = *theSetup;
    for (uint32_t n = 0; n < PageCount; ++n) {
        if (setup.pages[n] == page) {
            layOutPage(n, windowDpi(page));
        }
    }
    return 1;
}

}  // namespace

void initPages(HWND mainWindow) {
    SetupContext& setup = *theSetup;
    SetWindowTextW(mainWindow, SetupCaption);
    for (const PageText& item : PageTexts) {
        SetDlgItemTextA(setup.pages[item.page], item.control, item.text);
    }
    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        const int box = FirstComponentBox + static_cast<int>(i);
        SetDlgItemTextW(setup.pages[Components], box, setup.componentNames[i]);
        CheckDlgButton(setup.pages[Components], box, BST_CHECKED);
    }
    SetDlgItemTextW(setup.pages[Destination], DestinationField, setup.installDir);
    loadLicenceText(setup);
}

void showPage(uint32_t n) {
    SetupContext& setup = *theSetup;
    if (n > Progress) {
        PostMessageW(setup.mainWindow, WM_CLOSE, 0, 0);
        return;
    }
    setup.currentPage = n;
    for (uint32_t i = 0; i < PageCount; ++i) {
        ShowWindow(setup.pages[i], i == n ? SW_SHOW : SW_HIDE);
    }
    HWND page = setup.pages[n];
    SetFocus(page);
    if (n == Destination) {
        updateSpace();
    }
    // Posted, so it lands once the command that switched the page is done; chosen after the
    // space figures, which may have disabled Install.
    PostMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusTarget(page)), TRUE);
    if (n == Progress) {
        setup.state = Installing;
        PostMessageW(setup.mainWindow, WM_APP, 0, 0);
    }
}

// Every page shares this procedure; all it does not handle is left to the dialog manager,
// including the focus at creation, which showPage sets.
INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return onCommand(LOWORD(wParam));
    case WM_CTLCOLORLISTBOX:
        return onListColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED_AFTERPARENT:
        return onDpiChangedAfterParent(page);
    default:
        return 0;
    }
}
