#pragma once

#include <windows.h>

// The one message a failed start-up shows: stop icon, OK, owned by owner (may be null).
void showStartupFailure(HWND owner);
