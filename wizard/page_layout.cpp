#include "wizard/page_layout.h"

#include <windows.h>

#include "setup/page_controls.h"
#include "setup/setup_context.h"
#include "wizard/dialog_units.h"

namespace {

constexpr wchar_t Alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool loadPageLayout(uint32_t n, PageLayout& layout) {
    const HINSTANCE instance = theSetup->instance;
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(FirstPageTemplate + n), RT_DIALOG);
    const HGLOBAL loaded = found == nullptr ? nullptr : LoadResource(instance, found);
    const auto* bytes =
        static_cast<const uint8_t*>(loaded == nullptr ? nullptr : LockResource(loaded));
    return bytes != nullptr && readPageLayout(bytes, SizeofResource(instance, found), layout);
}

// The template's font at dpi, as the dialog manager makes it for a dialog at that DPI.
HFONT createTemplateFont(const DialogFont& font, uint32_t dpi) {
    LOGFONTW description{};
    description.lfHeight = -fontPixelsAtDpi(font.pointSize, dpi);
    description.lfWeight = font.weight;
    description.lfItalic = font.italic;
    description.lfCharSet = font.charset;
    static_assert(MaxTypefaceUnits == LF_FACESIZE);
    for (uint32_t i = 0; i < MaxTypefaceUnits; ++i) {
        description.lfFaceName[i] = font.typeface[i];
    }
    return CreateFontIndirectW(&description);
}

// The base units of a font: the average width of the letters and the character height.
DialogBaseUnits measureBaseUnits(HWND page, HFONT font) {
    const HDC dc = GetDC(page);
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE alphabet{};
    GetTextExtentPoint32W(dc, Alphabet, static_cast<int>(ARRAYSIZE(Alphabet) - 1), &alphabet);
    SelectObject(dc, previous);
    ReleaseDC(page, dc);
    return {averageCharWidth(alphabet.cx), metrics.tmHeight};
}

void fillClientArea(HWND page) {
    RECT client{};
    GetClientRect(GetParent(page), &client);
    SetWindowPos(page, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void layOutPage(uint32_t n, uint32_t dpi) {
    SetupContext& setup = *theSetup;
    PageLayout layout{};
    const HFONT font = loadPageLayout(n, layout) ? createTemplateFont(layout.font, dpi) : nullptr;
    if (font == nullptr) {
        return;
    }
    const HWND page = setup.pages[n];
    fillClientArea(page);
    const DialogBaseUnits units = measureBaseUnits(page, font);
    // The dialog manager creates the controls in template order, and that is their order
    // among the page's children.
    HWND control = GetWindow(page, GW_CHILD);
    for (uint32_t i = 0; i < layout.controlCount && control != nullptr; ++i) {
        const PixelRect rect = pixelsFromDialogUnits(layout.controls[i], units);
        SetWindowPos(control, nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        control = GetWindow(control, GW_HWNDNEXT);
    }
    if (setup.pageFonts[n] != nullptr) {
        DeleteObject(setup.pageFonts[n]);
    }
    setup.pageFonts[n] = font;
    // A new size or font resets an edit control's formatting rectangle.
    if (n == Licence) {
        insetLicenceText(dpi);
    }
    InvalidateRect(page, nullptr, TRUE);
}

void layOutPages(uint32_t dpi) {
    for (uint32_t n = 0; n < PageCount; ++n) {
        layOutPage(n, dpi);
    }
}

void insetLicenceText(uint32_t dpi) {
    const HWND edit = GetDlgItem(theSetup->pages[Licence], LicenceField);
    RECT rect{};
    GetClientRect(edit, &rect);
    const int32_t inset = licenceInsetForDpi(dpi);
    rect.left += inset;
    rect.top += inset;
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rect));
}

void releasePageFonts() {
    for (HFONT& font : theSetup->pageFonts) {
        if (font != nullptr) {
            DeleteObject(font);
            font = nullptr;
        }
    }
}
