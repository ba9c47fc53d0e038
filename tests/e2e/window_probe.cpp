// Prints the controls of a running program's top-level window, for end-to-end tests that
// must read what a person would see: one line per control, in window order,
//   <depth> id=<id> class=<class> visible=<0|1> enabled=<0|1> checked=<n> pos=<n>
//           rect=<left>,<top>,<right>,<bottom> text=<text>
// (the rectangle in its parent's client area) followed, for a list box, by one
// "item=<text>" line per entry. The first line gives the window's title, visibility, the id
// of the control that has the keyboard focus (0 for none), the client area's size and the
// screen rectangle. Usage: window_probe TITLE
// With --watch, it prints "watching" once the window is found, then waits until a control
// of that ID is visible and prints "shown", so that a test learns of a short state at once:
//   window_probe --watch TITLE ID
// With --dpi, it sends the window WM_DPICHANGED for DPI, as the system does when the window
// moves to a screen of that DPI, with the window's rectangle scaled from the window's DPI
// about its top-left corner as the suggested one, and prints "suggested=<l>,<t>,<r>,<b>":
//   window_probe --dpi TITLE DPI
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
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        std::printf(
            "%d id=%d class=%s visible=%d enabled=%d checked=%d pos=%d rect=%ld,%ld,%ld,%ld "
            "text=%s\n",
            depth, GetDlgCtrlID(child), utf8(className).c_str(), IsWindowVisible(child) ? 1 : 0,
            IsWindowEnabled(child) ? 1 : 0,
            isButton ? static_cast<int>(SendMessageW(child, BM_GETCHECK, 0, 0)) : 0,
            isProgress ? static_cast<int>(SendMessageW(child, PBM_GETPOS, 0, 0)) : 0, rect.left,
            rect.top, rect.right, rect.bottom, utf8(windowText(child)).c_str());
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

// Wine hands this message's rectangle to another process as a bare address, not a copy
// (Windows does not document what it does), so the rectangle is written into the window's
// own process and its address there is sent.
int sendDpiChange(HWND window, int dpi) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int from = static_cast<int>(GetDpiForWindow(window));
    rect.right = rect.left + MulDiv(rect.right - rect.left, dpi, from);
    rect.bottom = rect.top + MulDiv(rect.bottom - rect.top, dpi, from);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    void* remote = process == nullptr ? nullptr
                                      : VirtualAllocEx(process, nullptr, sizeof rect,
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool sent =
        remote != nullptr && WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr) &&
        SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, nullptr);
    if (remote != nullptr) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    if (process != nullptr) {
        CloseHandle(process);
    }
    if (!sent) {
        std::fprintf(stderr, "window_probe: could not send WM_DPICHANGED (error %lu)\n",
                     GetLastError());
        return 1;
    }
    std::printf("suggested=%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
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
    if (argc == 4 && lstrcmpW(argv[1], L"--dpi") == 0) {
        HWND window = findWindow(argv[2]);
        return window == nullptr ? 1 : sendDpiChange(window, _wtoi(argv[3]));
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: window_probe TITLE | window_probe --watch TITLE ID | "
                     "window_probe --dpi TITLE DPI\n");
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
    RECT client{};
    GetClientRect(window, &client);
    std::printf("0 title=%s visible=%d focus=%d client=%ld,%ld rect=%ld,%ld,%ld,%ld\n",
                utf8(windowText(window)).c_str(), IsWindowVisible(window) ? 1 : 0,
                hasFocus ? GetDlgCtrlID(thread.hwndFocus) : 0, client.right, client.bottom,
                rect.left, rect.top, rect.right, rect.bottom);
    printTree(window, 1);
    return 0;
}
