// Lays the pages' controls out at a DPI from their dialog templates, as the dialog manager
// lays out a dialog it creates, and keeps the licence text's inner margin for the DPI.
#pragma once

#include <cstdint>

// Page n fills the main window's client area; its controls get the place, size and font
// that its template gives at dpi, and the licence page its text's inset for dpi.
void layOutPage(uint32_t n, uint32_t dpi);
void layOutPages(uint32_t dpi);

// The licence text's formatting rectangle: the edit control's client area, the left and top
// edges moved in by the inset for dpi. Built from the client area every time, never from
// the rectangle the control reports (EM_GETRECT), which holds the control's own margins.
void insetLicenceText(uint32_t dpi);

// Deletes the fonts layOutPage made; for the main window's destruction.
void releasePageFonts();
