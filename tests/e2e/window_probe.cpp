// Prints the controls of a running program's top-level window, for end-to-end tests that
// must read what a person would see: one line per control, in window order,
//   <depth> id=<id> class=<class> visible=<0|1> enabled=<0|1> checked=<n> pos=<n> text=<text>
// followed, for a list box, by one "item=<text>" line per entry. The first line gives the
// window's title, visibility, the id of the control that has the keyboard focus (0 for
// none) and the screen rectangle. Usage: window_probe TITLE
// With --watch, it prints "watching" once the window is found, then waits until a control
// of that ID is visible and prints "shown", so that a test learns of a short state at once:
//   window_probe --watch TITLE ID
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/checks/window_reading.h"

namespace {

void printListItems(HWND list) {
    for (const std::wstring& item : listItems(list)) {
        std::printf("item=%s\n", utf8(item).c_str());
    }
}

void printTree(HWND parent, int depth) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        GetClassNameW(child, className, 64);
        const bool isButton = lstrcmpiW(className, L"Button") == 0;
        const bool isProgress = lstrcmpiW(className, PROGRESS_CLASSW) == 0;
        std::printf("%d id=%d class=%s visible=%d enabled=%d checked=%d pos=%d text=%s\n", depth,
                    GetDlgCtrlID(child), utf8(className).c_str(), IsWindowVisible(child) ? 1 : 0,
                    IsWindowEnabled(child) ? 1 : 0,
                    isButton ? static_cast<int>(SendMessageW(child, BM_GETCHECK, 0, 0)) : 0,
                    isProgress ? static_cast<int>(SendMessageW(child, PBM_GETPOS, 0, 0)) : 0,
                    utf8(windowText(child)).c_str());
        if (lstrcmpiW(className, L"ListBox") == 0) {
            printListItems(child);
        }
        printTree(child, depth + 1);
    }
}

// Polls every 5 ms for at most 30 s.
int watch(HWND window, int id) {
    std::printf("watching\n");
    std::fflush(stdout);
    for (int i = 0; i < 6000; ++i) {
        if (visibleControl(window, id) != nullptr) {
            std::printf("shown\n");
            return 0;
        }
        Sleep(5);
    }
    return 1;
}

HWND findWindow(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) {
        std::fprintf(stderr, "window_probe: no window titled %s\n", utf8(title).c_str());
    }
    return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && lstrcmpW(argv[1], L"--watch") == 0) {
        HWND window = findWindow(argv[2]);
        return window == nullptr ? 1 : watch(window, _wtoi(argv[3]));
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_probe TITLE | window_probe --watch TITLE ID\n");
        return 2;
    }
    HWND window = findWindow(argv[1]);
    if (window == nullptr) {
        return 1;
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    // The focus belongs to the window's thread, so it is asked of that thread.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const bool hasFocus = GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
                          thread.hwndFocus != nullptr;
    std::printf("0 title=%s visible=%d focus=%d rect=%ld,%ld,%ld,%ld\n",
                utf8(windowText(window)).c_str(), IsWindowVisible(window) ? 1 : 0,
                hasFocus ? GetDlgCtrlID(thread.hwndFocus) : 0, rect.left, rect.top, rect.right,
                rect.bottom);
    printTree(window, 1);
    return 0;
}
