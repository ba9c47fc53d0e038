// Pure arithmetic of the main window's placement and the licence text's DPI margin.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

// Origin that centres window on workArea; a window larger than the area gets a negative
// offset halved toward zero.
ScreenPoint centredOrigin(const ScreenRect& window, const ScreenRect& workArea);

// The licence text's inset at dpi: 5 pixels per 96 DPI, rounded down, at most 20.
int32_t licenceInsetForDpi(uint32_t dpi);
