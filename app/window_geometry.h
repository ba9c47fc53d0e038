// Pure arithmetic of the main window's placement.
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
