// Reading and driving a running installer from another process, as a person would see and
// press it: its main window, the visible page, the status line and the progress bar.
#pragma once

#include <windows.h>

#include <string>

// High-resolution time in milliseconds since an arbitrary start.
double nowMs();

// A visible top-level window of process pid, or null; with a title, only a window of that
// title (the installer's main window: "Velkaris App Pack (Single User)").
HWND findVisibleWindow(DWORD pid, const wchar_t* title);
extern const wchar_t InstallerTitle[];

// The installer's progress bar (control 1019 of the progress page), or null.
HWND findProgressBar(HWND mainWindow);
// The status line beside the bar (control 1003).
HWND statusLine(HWND progressBar);

// The page dialog shown at the moment (a direct child dialog of the main window), or null.
HWND visiblePage(HWND mainWindow);

// Presses button 1 (I Agree, Next, Install, Close) of the page: the command a click sends.
void pressNext(HWND page);

// Text of a control of another process; empty when it does not answer within a second.
std::wstring controlText(HWND control);

// Asks the bar for its position; false when the installer did not answer within timeoutMs.
// The call waits while the installer's thread is busy, which is what the step timing uses.
bool progressPosition(HWND bar, int& position, DWORD timeoutMs);
