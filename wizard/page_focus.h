// Where the keyboard focus goes on a wizard page. A disabled window cannot keep the focus:
// when Install is disabled under it, the focus would be nowhere and the keyboard dead.
#pragma once

#include <windows.h>

// Button 1 of page, or, while it is disabled, the next control in tab order that can take
// the focus.
HWND focusTarget(HWND page);
// Moves the focus to focusTarget when button 1 of the shown page is disabled and the focus
// is on it or nowhere; any other focus stays where it is.
void keepFocusUsable(HWND page);
