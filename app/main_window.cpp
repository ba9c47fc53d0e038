#include "app/main_window.h"

#include "app/startup_failure.h"
#include "app/step_timer.h"
#include "app/window_geometry.h"
#include "install/install_steps.h"
#include "setup/page_controls.h"
#include "setup/setup_context.h"
#include "setup/window_dpi.h"
#include "wizard/page_layout.h"
#include "wizard/pages.h"

namespace {

constexpr int IconResource = 101;
constexpr int DetailsListId = 1018;

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

// Only the destruction of a closing window ends the run. The pages' fonts go with the window.
void onDestroy() {
    releasePageFonts();
    if (theSetup->state == Closing) {
        PostQuitMessage(0);
    }
}

// Where the dialog manager rescales the window (per-monitor version 2 context), it is left
// to do so; it reaches only the pages, which lay out their own controls when the system
// sends them WM_DPICHANGED_AFTERPARENT. Elsewhere (the version 1 context of Windows 8.1 to
// 10 1607, and Wine) nothing is rescaled for the window: it takes the rectangle the message
// suggests, as its documentation asks, and the pages are laid out at the new DPI here.
INT_PTR onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    if (dialogManagerRescales(window)) {
        return FALSE;
    }
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    layOutPages(HIWORD(wParam));
    return TRUE;
}

}  // namespace

uint32_t initMainWindow(HWND window) {
    SetupContext& setup = *theSetup;
    if (!createPages(window)) {
        return 0;
    }
    setup.detailsList = GetDlgItem(setup.pages[Progress], DetailsListId);
    insetLicenceText(windowDpi(setup.pages[Licence]));
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

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
        return onDpiChanged(window, wParam, lParam);
    default:
        return FALSE;
    }
}
