// A page's layout as its dialog template gives it, the arithmetic that lays it out in pixels
// at a DPI, as the dialog manager does when it creates a dialog, and the licence text's inset
// at a DPI. Pure: no Win32 call.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t MaxPageControls = 16;
constexpr uint32_t MaxTypefaceUnits = 32;  // LF_FACESIZE, the terminator included

struct DialogFont {
    uint16_t pointSize;
    uint16_t weight;
    uint8_t italic;
    uint8_t charset;
    wchar_t typeface[MaxTypefaceUnits];
};

struct DialogUnitRect {
    int16_t x, y, cx, cy;
};

// The font and the control rectangles of an extended template (DIALOGEX), controls in
// template order, which is also the order the dialog manager creates them in.
struct PageLayout {
    DialogFont font;
    uint32_t controlCount;
    DialogUnitRect controls[MaxPageControls];
};

// False for a standard template, one without a font, with more than MaxPageControls
// controls, a typeface that does not fit, or bytes that end before the template does.
bool readPageLayout(const uint8_t* bytes, size_t size, PageLayout& layout);

// The average character width and the height of a font, in pixels.
struct DialogBaseUnits {
    int32_t x, y;
};

struct PixelRect {
    int32_t x, y, width, height;
};

// Position and size as the dialog manager computes them: each of x and cx times the
// horizontal base unit over 4, each of y and cy times the vertical one over 8, rounded.
PixelRect pixelsFromDialogUnits(const DialogUnitRect& rect, const DialogBaseUnits& units);

// The character height, in pixels, of a font of so many points at dpi.
int32_t fontPixelsAtDpi(uint16_t points, uint32_t dpi);

// The horizontal base unit from the width of the 52 letters A to Z and a to z.
int32_t averageCharWidth(int32_t alphabetWidth);

// The licence text's inset at dpi: 5 pixels per 96 DPI, rounded down, at most 20.
int32_t licenceInsetForDpi(uint32_t dpi);
