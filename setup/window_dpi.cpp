#include "setup/window_dpi.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetWindowDpiAwarenessContextCall = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
using AreDpiAwarenessContextsEqualCall = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT,
                                                       DPI_AWARENESS_CONTEXT);
using GetDialogDpiChangeBehaviorCall = DIALOG_DPI_CHANGE_BEHAVIORS(WINAPI*)(HWND);

// A function of user32, or null where this system has none of that name.
template <typename Call>
Call user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr
               ? nullptr
               : reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

uint32_t windowDpi(HWND window) {
    const auto getDpiForWindow = user32Function<GetDpiForWindowCall>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        return getDpiForWindow(window);
    }
    const HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return static_cast<uint32_t>(dpi);
}

bool dialogManagerRescales(HWND dialog) {
    const auto windowContext =
        user32Function<GetWindowDpiAwarenessContextCall>("GetWindowDpiAwarenessContext");
    const auto sameContext =
        user32Function<AreDpiAwarenessContextsEqualCall>("AreDpiAwarenessContextsEqual");
    const auto dialogBehavior =
        user32Function<GetDialogDpiChangeBehaviorCall>("GetDialogDpiChangeBehavior");
    return windowContext != nullptr && sameContext != nullptr && dialogBehavior != nullptr &&
           sameContext(windowContext(dialog), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) &&
           dialogBehavior(dialog) == DDC_DEFAULT;
}
