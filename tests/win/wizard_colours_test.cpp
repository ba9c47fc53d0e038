#include <gtest/gtest.h>

#include "tests/win/wizard_window.h"
#include "wizard/pages.h"

namespace {

using DetailsColours = WizardWindow;

constexpr COLORREF Background = RGB(2, 38, 9);
constexpr COLORREF Text = RGB(6, 176, 37);
constexpr COLORREF MarkText = RGB(1, 2, 3);
constexpr COLORREF MarkBackground = RGB(4, 5, 6);
constexpr COLORREF MarkBrush = RGB(7, 8, 9);

// A memory device context with marker colours, to see what a colour message changes.
class MarkedDc {
public:
    MarkedDc() : dc_(CreateCompatibleDC(nullptr)) {
        SetTextColor(dc_, MarkText);
        SetBkColor(dc_, MarkBackground);
        SetDCBrushColor(dc_, MarkBrush);
    }
    ~MarkedDc() { DeleteDC(dc_); }
    MarkedDc(const MarkedDc&) = delete;
    MarkedDc& operator=(const MarkedDc&) = delete;

    WPARAM handle() const { return reinterpret_cast<WPARAM>(dc_); }
    bool untouched() const {
        return GetTextColor(dc_) == MarkText && GetBkColor(dc_) == MarkBackground &&
               GetDCBrushColor(dc_) == MarkBrush;
    }
    HDC dc() const { return dc_; }

private:
    HDC dc_;
};

// Counts pixels of the list's client area, painted as the list paints itself.
struct PaintedPixels {
    int background = 0;
    int text = 0;
    int white = 0;
    int total = 0;
};

PaintedPixels paint(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    HDC screen = GetDC(list);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_ERASEBKGND);
    PaintedPixels pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF colour = GetPixel(memory, x, y);
            pixels.background += colour == Background;
            pixels.text += colour == Text;
            pixels.white += colour == RGB(255, 255, 255);
            ++pixels.total;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(list, screen);
    return pixels;
}

}  // namespace

TEST_F(DetailsColours, DetailsListPaintsGreenTextOnDarkGreen) {
    goToPage(Progress);
    click(Progress, 5);
    HWND list = setup.context.detailsList;
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Output folder: C:\\Velkaris"));
    const PaintedPixels pixels = paint(list);
    ASSERT_GT(pixels.total, 1000);
    EXPECT_GT(pixels.text, 10) << "text pixels in the details colour";
    EXPECT_GT(pixels.background, pixels.total * 8 / 10) << "ground in the details colour";
    EXPECT_EQ(pixels.white, 0);
}

TEST_F(DetailsColours, ColourMessageForTheDetailsListSetsTheDcAndReturnsTheDcBrush) {
    MarkedDc dc;
    const INT_PTR brush = pageProc(page(Progress), WM_CTLCOLORLISTBOX, dc.handle(),
                                   reinterpret_cast<LPARAM>(setup.context.detailsList));
    EXPECT_EQ(brush, reinterpret_cast<INT_PTR>(GetStockObject(DC_BRUSH)));
    EXPECT_EQ(GetTextColor(dc.dc()), Text);
    EXPECT_EQ(GetBkColor(dc.dc()), Background);
    EXPECT_EQ(GetDCBrushColor(dc.dc()), Background);
}

TEST_F(DetailsColours, NoOtherControlIsRecoloured) {
    HWND otherList = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 50, 50, page(Progress),
                                     nullptr, setup.context.instance, nullptr);
    ASSERT_NE(otherList, nullptr);
    struct Case {
        UINT message;
        HWND control;
    };
    const Case cases[] = {
        {WM_CTLCOLORLISTBOX, otherList},
        {WM_CTLCOLORSTATIC, control(Progress, 1003)},
        {WM_CTLCOLORSTATIC, setup.context.detailsList},
        {WM_CTLCOLOREDIT, control(Licence, 1004)},
        {WM_CTLCOLORSTATIC, control(Licence, 1004)},
        {WM_CTLCOLORSTATIC, control(Destination, 1005)},
        {WM_CTLCOLORBTN, control(Components, 1006)},
        {WM_CTLCOLORDLG, page(Progress)},
        {WM_CTLCOLORSCROLLBAR, setup.context.detailsList},
    };
    for (const Case& c : cases) {
        MarkedDc dc;
        EXPECT_EQ(pageProc(GetParent(c.control), c.message, dc.handle(),
                           reinterpret_cast<LPARAM>(c.control)),
                  0)
            << std::hex << c.message;
        EXPECT_TRUE(dc.untouched()) << std::hex << c.message;
    }
    DestroyWindow(otherList);
}
