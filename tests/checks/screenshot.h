// A screenshot of a window as it shows on the screen, saved as PNG.
#pragma once

#include <windows.h>

#include <string>

// The screen's pixels inside WINDOW's rectangle once it has painted; false when nothing could
// be read or written.
bool saveScreenshot(HWND window, const std::wstring& path);
