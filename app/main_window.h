// The main window: hosts the four pages, owns the step timer and the close rules.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT_PTR StepTimerId = 1;
constexpr UINT StepTimerPeriodMs = 125;

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs inside WM_INITDIALOG with the window's own handle; 1 on success, 0 on failure.
uint32_t initMainWindow(HWND window);
