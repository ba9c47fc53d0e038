#include "app/setup_run.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/load_defaults.h"
#include "app/main_window.h"
#include "app/startup_failure.h"
#include "setup/component_table.h"

namespace {

constexpr int MainTemplate = 103;

// Every message goes to the current page's dialog manager first, so Tab, Enter, Escape and
// the mnemonics work per page. Ends with the quit message in msg.
void runMessageLoop(SetupContext& setup, MSG& msg) {
    while (msg.message != WM_QUIT) {
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(setup.pages[setup.currentPage], &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

// The part of the run that needs COM: common controls, package and folders, main window,
// message loop. Failures leave msg cleared, so the exit code stays 0.
void runWithCom(SetupContext& setup, MSG& msg) {
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    if (!InitCommonControlsEx(&controls)) {
        return;
    }
    if (loadDefaults() == 0) {
        showStartupFailure(nullptr);
        return;
    }
    setup.mainWindow = CreateDialogParamW(setup.instance, MAKEINTRESOURCEW(MainTemplate), nullptr,
                                          mainDialogProc, 0);
    if (setup.mainWindow == nullptr) {
        showStartupFailure(nullptr);
        return;
    }
    runMessageLoop(setup, msg);
}

}  // namespace

int runSetup(HINSTANCE instance) {
    SetupContext setup{};
    setup.instance = instance;
    setup.componentNames = componentTable;
    theSetup = &setup;
    MSG msg{};

    if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        runWithCom(setup, msg);
        CoUninitialize();
    }
    if (setup.unpacked.owned != 0) {
        setup.unpacked.release();
    }
    return static_cast<int>(static_cast<uint32_t>(msg.wParam));
}
