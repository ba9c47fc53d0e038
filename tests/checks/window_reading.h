// Reading another program's windows as a person sees them: texts, controls, list items.
// Shared by the checks' driver and the end-to-end tests' window probe.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view text);

// The text of a window or control of any process, through WM_GETTEXT: GetWindowText does
// not read another process's edit controls. Empty when the window does not answer in 2 s.
std::wstring windowText(HWND window);

// The entries of a list box, in order.
std::vector<std::wstring> listItems(HWND list);

// The control with that id anywhere below PARENT that is visible, or null.
HWND visibleControl(HWND parent, int id);

// The visible top-level window of process PID with that title (any title when null), or null.
HWND processWindow(DWORD pid, const wchar_t* title);

// The visible top-level window with that title, whichever process shows it, or null.
HWND titledWindow(const wchar_t* title);
