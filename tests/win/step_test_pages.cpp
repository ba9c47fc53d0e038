#include "tests/win/step_test_pages.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

constexpr int DetailsListId = 1018;
constexpr int FirstComponentBox = 1006;

// The pages only hold controls here; nothing reacts to them.
INT_PTR CALLBACK quietPage(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

}  // namespace

void initStepTestThread() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

void finishStepTestThread() {
    CoUninitialize();
}

bool createStepPages(SetupContext& setup) {
    setup.mainWindow = CreateWindowW(L"STATIC", L"main", 0, 0, 0, 10, 10, nullptr, nullptr,
                                     setup.instance, nullptr);
    setup.pages[Components] = CreateDialogParamW(setup.instance, MAKEINTRESOURCEW(105),
                                                 setup.mainWindow, quietPage, 0);
    setup.pages[Progress] = CreateDialogParamW(setup.instance, MAKEINTRESOURCEW(107),
                                               setup.mainWindow, quietPage, 0);
    if (setup.pages[Components] == nullptr || setup.pages[Progress] == nullptr) {
        return false;
    }
    setup.detailsList = GetDlgItem(setup.pages[Progress], DetailsListId);
    for (uint32_t i = 0; i < ApplicationCount; ++i) {
        CheckDlgButton(setup.pages[Components], FirstComponentBox + static_cast<int>(i),
                       BST_CHECKED);
    }
    return true;
}

void destroyStepPages(SetupContext& setup) {
    DestroyWindow(setup.mainWindow);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}
