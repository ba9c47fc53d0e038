#include "tests/checks/screenshot.h"

#include <cstdint>
#include <vector>

#include "tests/checks/file_bytes.h"
#include "tests/checks/png_encoder.h"

namespace {

// The screen's 32-bit pixels of RECT, top row first.
std::vector<uint8_t> screenPixels(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<uint8_t> pixels;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top,
                   SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const auto* bytes = static_cast<const uint8_t*>(bits);
            pixels.assign(bytes, bytes + static_cast<size_t>(width) * height * 4);
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

bool saveScreenshot(HWND window, const std::wstring& path)
{
    // The window paints what it shows before the screen is read.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect{};
    GetWindowRect(window, &rect);
    rect.left = rect.left > GetSystemMetrics(SM_XVIRTUALSCREEN) ? rect.left
                                                                : GetSystemMetrics(SM_XVIRTUALSCREEN);
    rect.top = rect.top > GetSystemMetrics(SM_YVIRTUALSCREEN) ? rect.top
                                                              : GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return false;
    }
    const std::vector<uint8_t> bgra = screenPixels(rect);
    if (bgra.empty()) {
        return false;
    }
    std::vector<uint8_t> rgb;
    rgb.reserve(bgra.size() / 4 * 3);
    for (size_t i = 0; i < bgra.size(); i += 4) {
        rgb.insert(rgb.end(), {bgra[i + 2], bgra[i + 1], bgra[i]});
    }
    const std::vector<uint8_t> png = encodePng(static_cast<uint32_t>(rect.right - rect.left),
                                               static_cast<uint32_t>(rect.bottom - rect.top), rgb);
    return !png.empty() && writeFileBytes(path, std::string(png.begin(), png.end()));
}
