#include "tests/win/wizard_window.h"

#include "app/load_defaults.h"
#include "app/main_window.h"
#include "tests/win/app_recorded_steps.h"

void WizardWindow::SetUp() {
    recordedSteps.clear();
    ASSERT_EQ(loadDefaults(), 1u);
    setup.context.mainWindow = CreateDialogParamW(setup.context.instance, MAKEINTRESOURCEW(103),
                                                  nullptr, mainDialogProc, 0);
    ASSERT_NE(window(), nullptr);
    pump();
}

void WizardWindow::TearDown() {
    if (IsWindow(window())) {
        setup.context.state = Wizard;
        SendMessageW(window(), WM_CLOSE, 0, 0);
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void WizardWindow::pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!IsDialogMessageW(setup.context.pages[setup.context.currentPage], &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void WizardWindow::pressKey(UINT virtualKey) {
    HWND target = GetFocus() != nullptr ? GetFocus() : window();
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
    pump();
}

void WizardWindow::pressAlt(wchar_t letter) {
    HWND target = GetFocus() != nullptr ? GetFocus() : window();
    PostMessageW(target, WM_SYSCHAR, letter, 1 | 0x20000000);
    pump();
}

void WizardWindow::click(uint32_t n, int id) {
    SendMessageW(control(n, id), BM_CLICK, 0, 0);
    pump();
}

void WizardWindow::goToPage(uint32_t n) {
    while (setup.context.currentPage != n) {
        click(setup.context.currentPage, setup.context.currentPage < n ? 1 : 3);
    }
}

bool WizardWindow::closed() {
    pump();
    MSG msg;
    return !IsWindow(window()) && PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

std::string WizardWindow::textA(uint32_t n, int id) const {
    char text[1024] = {};
    GetDlgItemTextA(page(n), id, text, sizeof text);
    return text;
}

std::wstring WizardWindow::textW(HWND control) const {
    wchar_t text[1024] = {};
    GetWindowTextW(control, text, 1024);
    return text;
}
