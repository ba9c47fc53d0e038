#include "bench/win/installer_window.h"

#include <commctrl.h>

namespace {

constexpr int NextButton = 1;
constexpr int StatusLineId = 1003;
constexpr int ProgressBarId = 1019;

struct PageSearch {
    HWND parent;
    HWND found;
};

struct WindowSearch {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK findProcessWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.pid || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (search.title != nullptr && lstrcmpW(title, search.title) != 0) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

BOOL CALLBACK findBar(HWND child, LPARAM context) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (GetDlgCtrlID(child) == ProgressBarId && lstrcmpiW(className, PROGRESS_CLASSW) == 0) {
        *reinterpret_cast<HWND*>(context) = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findVisiblePage(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<PageSearch*>(context);
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (GetParent(child) == search.parent && IsWindowVisible(child) &&
        lstrcmpW(className, L"#32770") == 0) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

const wchar_t InstallerTitle[] = L"Velkaris App Pack (Single User)";

HWND findVisibleWindow(DWORD pid, const wchar_t* title) {
    WindowSearch search{pid, title, nullptr};
    EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findProgressBar(HWND mainWindow) {
    HWND bar = nullptr;
    EnumChildWindows(mainWindow, findBar, reinterpret_cast<LPARAM>(&bar));
    return bar;
}

HWND statusLine(HWND progressBar) {
    return GetDlgItem(GetParent(progressBar), StatusLineId);
}

HWND visiblePage(HWND mainWindow) {
    PageSearch search{mainWindow, nullptr};
    EnumChildWindows(mainWindow, findVisiblePage, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void pressNext(HWND page) {
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(NextButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, NextButton)));
}

std::wstring controlText(HWND control) {
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                            1000, &copied) == 0) {
        return {};
    }
    return std::wstring(text, copied);
}

bool progressPosition(HWND bar, int& position, DWORD timeoutMs) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, timeoutMs, &answer) == 0) {
        return false;
    }
    position = static_cast<int>(answer);
    return true;
}
