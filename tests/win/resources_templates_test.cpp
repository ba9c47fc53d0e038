// The compiled dialog templates 103 to 107 against the intended layout, control by
// control, and the templates at work: dialogs created from them, as the installer does.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "tests/win/resources_dialog_template.h"

namespace {

constexpr WORD MainTemplate = 103;
constexpr WORD FirstPageTemplate = 104;
constexpr WORD LastPageTemplate = 107;
constexpr int16_t TemplateWidth = 280;
constexpr int16_t TemplateHeight = 162;
constexpr DWORD MainStyle = 0x00CA0040;
constexpr DWORD PageStyle = WS_CHILD | DS_SETFONT;

constexpr DWORD Visible = WS_CHILD | WS_VISIBLE;
constexpr DWORD DefaultButton = Visible | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD PushButton = Visible | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD CheckBox = Visible | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD Heading = Visible | WS_GROUP | SS_LEFT;

struct ExpectedControl {
    int32_t id;
    std::wstring_view className;
    DWORD style;
    DWORD exStyle;
    int16_t x, y, cx, cy;
    std::wstring_view text;
};

constexpr ExpectedControl Icon = {-1, L"STATIC", Visible | SS_ICON, 0, 7, 7, 20, 20, L"#101"};

const std::vector<ExpectedControl> LicencePage = {
    Icon,
    {1, L"BUTTON", DefaultButton, 0, 223, 141, 50, 14, L""},
    {2, L"BUTTON", PushButton, 0, 7, 141, 50, 14, L""},
    {1004, L"EDIT", Visible | WS_BORDER | ES_READONLY | ES_MULTILINE, 0, 7, 33, 266, 101, L""},
    {1000, L"STATIC", Heading, 0, 37, 8, 236, 18, L""},
};

const std::vector<ExpectedControl> ComponentsPage = {
    Icon,
    {1, L"BUTTON", DefaultButton, 0, 223, 141, 50, 14, L""},
    {1006, L"BUTTON", CheckBox, 0, 26, 45, 60, 10, L""},
    {1007, L"BUTTON", CheckBox, 0, 111, 45, 60, 10, L""},
    {1008, L"BUTTON", CheckBox, 0, 198, 45, 60, 10, L""},
    {1009, L"BUTTON", CheckBox, 0, 26, 62, 60, 10, L""},
    {1010, L"BUTTON", CheckBox, 0, 111, 62, 60, 10, L""},
    {1011, L"BUTTON", CheckBox, 0, 198, 62, 60, 10, L""},
    {1012, L"BUTTON", CheckBox, 0, 26, 79, 60, 10, L""},
    {1013, L"BUTTON", CheckBox, 0, 111, 79, 60, 10, L""},
    {1014, L"BUTTON", WS_CHILD | WS_DISABLED | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 198, 79, 60, 10, L""},
    {2, L"BUTTON", PushButton, 0, 7, 141, 50, 14, L""},
    {3, L"BUTTON", PushButton, 0, 170, 141, 50, 14, L""},
    {1001, L"STATIC", Heading, 0, 37, 8, 236, 18, L""},
};

const std::vector<ExpectedControl> DestinationPage = {
    Icon,
    {1, L"BUTTON", DefaultButton, 0, 223, 141, 50, 14, L""},
    {4, L"BUTTON", PushButton, 0, 217, 54, 50, 14, L""},
    {2, L"BUTTON", PushButton, 0, 7, 141, 50, 14, L""},
    {3, L"BUTTON", PushButton, 0, 170, 141, 50, 14, L""},
    {1015, L"BUTTON", Visible | BS_GROUPBOX, 0, 7, 44, 266, 31, L""},
    {1005, L"EDIT", Visible | ES_READONLY | ES_AUTOHSCROLL, 0, 13, 57, 199, 12, L""},
    {1002, L"STATIC", Heading, 0, 37, 8, 236, 25, L""},
    {1017, L"STATIC", Heading, 0, 13, 88, 121, 9, L""},
    {1016, L"STATIC", Heading, 0, 13, 100, 121, 9, L""},
};

const std::vector<ExpectedControl> ProgressPage = {
    Icon,
    {1, L"BUTTON", DefaultButton, 0, 223, 141, 50, 14, L""},
    {5, L"BUTTON", PushButton, 0, 7, 32, 50, 14, L""},
    {1018, L"LISTBOX", WS_CHILD | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
     WS_EX_STATICEDGE, 7, 32, 266, 103, L""},
    {1003, L"STATIC", Heading, 0, 37, 8, 236, 9, L""},
    {1019, L"msctls_progress32", Visible | WS_BORDER, 0, 37, 18, 236, 6, L"Progress1"},
};

DialogTemplate loadTemplate(WORD id)
{
    const std::span<const uint8_t> bytes = moduleResource(RT_DIALOG, id);
    EXPECT_FALSE(bytes.empty()) << "template " << id;
    const std::optional<DialogTemplate> dialog = parseDialogTemplate(bytes);
    EXPECT_TRUE(dialog.has_value()) << "template " << id << " ends early";
    return dialog.value_or(DialogTemplate{});
}

// Window classes are matched without regard to case, as the system matches them.
bool sameClass(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

void expectFrame(const DialogTemplate& dialog, DWORD style)
{
    EXPECT_EQ(dialog.style, style);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, TemplateWidth);
    EXPECT_EQ(dialog.cy, TemplateHeight);
    EXPECT_TRUE(dialog.menu.text.empty() && !dialog.menu.ordinal) << "no menu";
    EXPECT_TRUE(dialog.windowClass.text.empty() && !dialog.windowClass.ordinal) << "no class";
    EXPECT_EQ(dialog.caption, L"");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.typeface, L"Microsoft Sans Serif");
    EXPECT_EQ(dialog.weight, dialog.extended ? FW_NORMAL : 0);
    EXPECT_EQ(dialog.italic, 0);
}

void expectControls(WORD id, const std::vector<ExpectedControl>& expected)
{
    const DialogTemplate dialog = loadTemplate(id);
    expectFrame(dialog, PageStyle);
    ASSERT_EQ(dialog.items.size(), expected.size()) << "template " << id;
    for (size_t i = 0; i < expected.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        const ExpectedControl& want = expected[i];
        SCOPED_TRACE(testing::Message() << "template " << id << ", control " << i << " (id "
                                        << want.id << ")");
        EXPECT_EQ(item.id, want.id);
        EXPECT_TRUE(sameClass(item.className, want.className)) << "class";
        EXPECT_EQ(item.style, want.style) << std::hex << "style 0x" << item.style;
        EXPECT_EQ(item.exStyle, want.exStyle) << std::hex << "ex-style 0x" << item.exStyle;
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_FALSE(item.text.ordinal.has_value()) << "text stored as a string";
        EXPECT_EQ(item.text.text, want.text);
        EXPECT_EQ(item.extraBytes, 0);
    }
}

TEST(DialogTemplates, MainWindowIsAFixedCaptionedFrameWithoutControls)
{
    const DialogTemplate dialog = loadTemplate(MainTemplate);
    expectFrame(dialog, MainStyle);
    EXPECT_EQ(dialog.style & (WS_POPUP | WS_VISIBLE | WS_THICKFRAME | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(dialog.items.empty());
}

TEST(DialogTemplates, PagesHoldTheirControlsInTabOrder)
{
    expectControls(104, LicencePage);
    expectControls(105, ComponentsPage);
    expectControls(106, DestinationPage);
    expectControls(107, ProgressPage);
}

INT_PTR CALLBACK quietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Creates the main window and the pages from this module's templates, as the installer
// does, and destroys them again.
class CreatedDialogs : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
    }

    void SetUp() override
    {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        main = CreateDialogParamW(instance, MAKEINTRESOURCEW(MainTemplate), nullptr,
                                  quietDialogProc, 0);
        ASSERT_NE(main, nullptr);
        for (WORD id = FirstPageTemplate; id <= LastPageTemplate; ++id) {
            HWND page = CreateDialogParamW(instance, MAKEINTRESOURCEW(id), main,
                                           quietDialogProc, 0);
            ASSERT_NE(page, nullptr) << "template " << id;
            pages.push_back(page);
        }
    }

    void TearDown() override
    {
        if (main) {
            DestroyWindow(main);
        }
    }

    HWND main = nullptr;
    std::vector<HWND> pages;
};

TEST_F(CreatedDialogs, MainWindowStartsHiddenWithoutMaximiseOrSizing)
{
    EXPECT_FALSE(IsWindowVisible(main));
    const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(CreatedDialogs, EveryPageFillsTheMainClientAreaExactly)
{
    RECT client;
    GetClientRect(main, &client);
    for (HWND page : pages) {
        RECT frame;
        GetWindowRect(page, &frame);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
        EXPECT_EQ(frame.right, client.right);
        EXPECT_EQ(frame.bottom, client.bottom);
        EXPECT_FALSE(IsWindowVisible(page));
    }
}

TEST_F(CreatedDialogs, IconControlsShowIcon101)
{
    for (HWND page : pages) {
        HWND icon = GetWindow(page, GW_CHILD);
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
    }
}

TEST_F(CreatedDialogs, HiddenAndUnreachableControlsStaySo)
{
    HWND licence = GetDlgItem(pages[0], 1004);
    EXPECT_FALSE(GetWindowLongPtrW(licence, GWL_STYLE) & (WS_TABSTOP | WS_VSCROLL | WS_HSCROLL));
    HWND ninthCell = GetDlgItem(pages[1], 1014);
    EXPECT_FALSE(GetWindowLongPtrW(ninthCell, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(ninthCell));
    HWND destination = GetDlgItem(pages[2], 1005);
    EXPECT_FALSE(GetWindowLongPtrW(destination, GWL_STYLE) & (WS_TABSTOP | WS_BORDER));
    HWND details = GetDlgItem(pages[3], 1018);
    EXPECT_FALSE(GetWindowLongPtrW(details, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrW(details, GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

TEST_F(CreatedDialogs, ProgressBarKeepsItsDefaultRange)
{
    HWND bar = GetDlgItem(pages[3], 1019);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
}

}  // namespace
