#include "app/main_window.h"

#include "app/startup_failure.h"
#include "app/step_timer.h"
#include "app/window_geometry.h"
#include "install/install_steps.h"
#include "setup/setup_context.h"
#include "wizard/pages.h"

namespace {

constexpr int FirstPageTemplate = 104;
constexpr int IconResource = 101;
constexpr int DetailsListId = 1018;
constexpr int LicenceEditId = 1004;
constexpr int LicenceInsetAtStart = 6;
// Posted by the DPI change to the main window, wParam the new DPI; WM_APP itself
// schedules the install steps.
constexpr UINT LicenceInsetMessage = WM_APP + 1;

// Gives a multiline edit control the rectangle base, its left edge moved right by dx and its
// top edge down by dy, as the rectangle its text is laid out in.
void setFormatRect(HWND edit, RECT base, int dx, int dy) {
    base.left += dx;
    base.top += dy;
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&base));
}

// The pages are child dialogs filling the client area; one is visible at a time.
bool createPages(HWND window) {
    SetupContext& setup = *theSetup;
    for (uint32_t n = 0; n < PageCount; ++n) {
        setup.pages[n] = CreateDialogParamW(setup.instance, MAKEINTRESOURCEW(FirstPageTemplate + n),
                                            window, pageProc, 0);
        if (setup.pages[n] == nullptr) {
            return false;
        }
    }
    return true;
}

void centreOnWorkArea(HWND window) {
    RECT windowRect{};
    RECT workArea{};
    GetWindowRect(window, &windowRect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const ScreenPoint origin =
        centredOrigin({windowRect.left, windowRect.top, windowRect.right, windowRect.bottom},
                      {workArea.left, workArea.top, workArea.right, workArea.bottom});
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A failed initialisation is reported before the window was ever shown; the window then
// closes itself through the ordinary close path.
void onInitDialog(HWND window) {
    if (initMainWindow(window) == 0) {
        showStartupFailure(theSetup->mainWindow);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

// Runs at most one install step per tick; the steps schedule each other through WM_APP.
void onTimer() {
    if (theSetup->pendingStep != 0) {
        runInstallStep(theSetup->pendingStep - 1);
    }
}

// Close requests are dropped while installing, so the chain of steps always completes.
void onClose() {
    SetupContext& setup = *theSetup;
    if (setup.state == Installing) {
        return;
    }
    KillTimer(setup.mainWindow, StepTimerId);
    setup.state = Closing;
    DestroyWindow(setup.mainWindow);
}

// Only the destruction of a closing window ends the run.
void onDestroy() {
    if (theSetup->state == Closing) {
        PostQuitMessage(0);
    }
}

// Left to the dialog manager, a per-monitor (v2) dialog is rescaled: its size, and the place,
// size and font of its controls. A new size or font resets an edit control's formatting
// rectangle, so the licence inset is set afterwards, when the posted message arrives.
void onDpiChanged(HWND window, WPARAM wParam) {
    PostMessageW(window, LicenceInsetMessage, HIWORD(wParam), 0);
}

// The licence text's inner margin for the DPI, measured from the edit control's client
// area, of which the control makes its default formatting rectangle: any number of changes
// to one DPI give one rectangle. (Restoring the default with EM_SETRECT and no rectangle
// does nothing where a touch device is installed, nor under Wine.)
void onLicenceInset(WPARAM dpi) {
    const HWND edit = GetDlgItem(theSetup->pages[Licence], LicenceEditId);
    RECT client{};
    GetClientRect(edit, &client);
    const int inset = licenceInsetForDpi(static_cast<uint32_t>(dpi));
    setFormatRect(edit, client, inset, inset);
}

}  // namespace

uint32_t initMainWindow(HWND window) {
    SetupContext& setup = *theSetup;
    if (!createPages(window)) {
        return 0;
    }
    setup.detailsList = GetDlgItem(setup.pages[Progress], DetailsListId);
    insetEditRect(GetDlgItem(setup.pages[Licence], LicenceEditId), LicenceInsetAtStart,
                  LicenceInsetAtStart);
    initPages(window);
    setup.icon = LoadIconW(setup.instance, MAKEINTRESOURCEW(IconResource));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(setup.icon));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(setup.icon));
    if (!startStepTimer(window)) {
        return 0;
    }
    centreOnWorkArea(window);
    showPage(Licence);
    ShowWindow(window, SW_SHOWNORMAL);
    return 1;
}

void insetEditRect(HWND edit, int dx, int dy) {
    RECT rect{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    setFormatRect(edit, rect, dx, dy);
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(window);
        return TRUE;
    case WM_TIMER:
        onTimer();
        return TRUE;
    case WM_APP:
        theSetup->pendingStep = static_cast<uint32_t>(wParam) + 1;
        return TRUE;
    case WM_CLOSE:
        onClose();
        return TRUE;
    case WM_DESTROY:
        onDestroy();
        return TRUE;
    case WM_DPICHANGED:
        onDpiChanged(window, wParam);
        return FALSE;
    case LicenceInsetMessage:
        onLicenceInset(wParam);
        return TRUE;
    default:
        return FALSE;
    }
}
