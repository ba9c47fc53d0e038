// The four wizard pages: their texts, the page switch and their shared dialog procedure.
#pragma once

#include <windows.h>

#include <cstdint>

void initPages(HWND mainWindow);
void showPage(uint32_t n);
INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
