// Real key presses on another program's window, as a person makes them. Windows keeps a
// background process from taking the foreground (the foreground lock), and a runner's
// console stays in front, so the window is brought forward through the foreground thread's
// input (AttachThreadInput) and each press is sent with SendInput only once
// GetForegroundWindow confirms the window is in front.
#pragma once

#include <windows.h>

#include <functional>

// A virtual key, with Alt held for a mnemonic ("Show &Details": Alt+D).
struct KeyPress {
    WORD key;
    bool alt = false;
};

// Brings the top-level WINDOW to the foreground; false when it is not there within
// MILLISECONDS.
bool bringToForeground(HWND window, DWORD milliseconds);

// Presses the key in the top-level WINDOW; false when the window could not be brought to the
// foreground or the input was refused.
bool press(HWND window, KeyPress key);

// Waits until CONDITION holds, asking every 20 ms; false when it did not within MILLISECONDS.
bool waitFor(const std::function<bool()>& condition, DWORD milliseconds);
