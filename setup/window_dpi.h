// The DPI of a window and whether the dialog manager rescales a dialog, from functions newer
// than Windows Vista, which are looked up at run time: importing them would keep the
// installer from starting on the systems that lack them.
#pragma once

#include <windows.h>

#include <cstdint>

// GetDpiForWindow (Windows 10 1607 on); before it, the DPI of the window's device context,
// which is the system DPI the dialogs were laid out at.
uint32_t windowDpi(HWND window);

// True where the dialog manager rescales the dialog on WM_DPICHANGED: the dialog has the
// per-monitor (version 2) context (Windows 10 1703 on) and GetDialogDpiChangeBehavior gives
// DDC_DEFAULT. The per-monitor (version 1) context of the fallback, and every system
// without those functions, get no rescale.
bool dialogManagerRescales(HWND dialog);
