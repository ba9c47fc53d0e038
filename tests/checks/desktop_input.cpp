#include "tests/checks/desktop_input.h"

#include <vector>

namespace {

INPUT keyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// One attempt: with this thread's input attached to the foreground thread's and to the
// window's, SetForegroundWindow is allowed. An Alt press and release first, where an attempt
// failed, lifts the lock as a person's Alt does (LockSetForegroundWindow's documentation).
void tryForeground(HWND window, bool pressAlt)
{
    if (pressAlt) {
        INPUT alt[] = {keyInput(VK_MENU, false), keyInput(VK_MENU, true)};
        SendInput(2, alt, sizeof(INPUT));
    }
    const DWORD self = GetCurrentThreadId();
    const HWND front = GetForegroundWindow();
    const DWORD frontThread = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
    const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    const bool attachedFront = frontThread != 0 && frontThread != self &&
                               AttachThreadInput(self, frontThread, TRUE);
    const bool attachedWindow = windowThread != self && windowThread != frontThread &&
                                AttachThreadInput(self, windowThread, TRUE);
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    BringWindowToTop(window);
    SetForegroundWindow(window);
    if (attachedWindow) {
        AttachThreadInput(self, windowThread, FALSE);
    }
    if (attachedFront) {
        AttachThreadInput(self, frontThread, FALSE);
    }
}

}  // namespace

bool waitFor(const std::function<bool()>& condition, DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(20);
    }
}

bool bringToForeground(HWND window, DWORD milliseconds)
{
    int attempts = 0;
    return waitFor(
        [&] {
            if (GetForegroundWindow() == window) {
                return true;
            }
            if (!IsWindow(window)) {
                return false;
            }
            tryForeground(window, attempts++ > 0);
            return GetForegroundWindow() == window;
        },
        milliseconds);
}

bool press(HWND window, KeyPress key)
{
    if (!bringToForeground(window, 5000)) {
        return false;
    }
    std::vector<INPUT> inputs;
    if (key.alt) {
        inputs.push_back(keyInput(VK_MENU, false));
    }
    inputs.push_back(keyInput(key.key, false));
    inputs.push_back(keyInput(key.key, true));
    if (key.alt) {
        inputs.push_back(keyInput(VK_MENU, true));
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}
