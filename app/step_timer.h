#pragma once

#include <windows.h>

// Starts the timer whose ticks run the install steps; false when it cannot be set. Kept in
// a file of its own so a test program can link a failing one.
bool startStepTimer(HWND window);
