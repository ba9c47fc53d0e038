#include "app/window_geometry.h"

ScreenPoint centredOrigin(const ScreenRect& window, const ScreenRect& workArea) {
    const int32_t width = window.right - window.left;
    const int32_t height = window.bottom - window.top;
    return {workArea.left + ((workArea.right - workArea.left) - width) / 2,
            workArea.top + ((workArea.bottom - workArea.top) - height) / 2};
}
