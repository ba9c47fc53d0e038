#include "wizard/page_focus.h"

#include "setup/page_controls.h"

HWND focusTarget(HWND page) {
    HWND buttonOne = GetDlgItem(page, NextCommand);
    if (IsWindowEnabled(buttonOne)) {
        return buttonOne;
    }
    return GetNextDlgTabItem(page, buttonOne, FALSE);
}

void keepFocusUsable(HWND page) {
    HWND buttonOne = GetDlgItem(page, NextCommand);
    HWND focus = GetFocus();
    if (!IsWindowEnabled(buttonOne) && (focus == nullptr || focus == buttonOne)) {
        SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusTarget(page)), TRUE);
    }
}
