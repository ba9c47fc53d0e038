#include "app/window_geometry.h"

#include <algorithm>

ScreenPoint centredOrigin(const ScreenRect& window, const ScreenRect& workArea) {
    const int32_t width = window.right - window.left;
    const int32_t height = window.bottom - window.top;
    return {workArea.left + ((workArea.right - workArea.left) - width) / 2,
            workArea.top + ((workArea.bottom - workArea.top) - height) / 2};
}

int32_t licenceInsetForDpi(uint32_t dpi) {
    return static_cast<int32_t>(std::min<uint64_t>(5ull * dpi / 96, 20));
}
