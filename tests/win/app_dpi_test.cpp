// The main window and its pages at a change of DPI: every control where its template puts
// it at that DPI and in the template's font at that DPI, the licence inset from the edit's
// client area, and what the system says of the windows' DPI awareness and of the dialog
// manager's rescaling, for the system the test runs on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/win/resources_dialog_template.h"
#include "tests/win/wizard_window.h"
#include "wizard/page_layout.h"

namespace {

constexpr int LicenceEditId = 1004;
constexpr DWORD Windows10Version1703 = 15063;

// The system the test runs on: Wine says its version through ntdll; both give a build.
struct RunningSystem {
    bool wine;
    DWORD build;
    std::string name;
};

RunningSystem runningSystem() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto wineVersion = reinterpret_cast<const char*(CDECL*)()>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    const auto getVersion = reinterpret_cast<LONG(WINAPI*)(OSVERSIONINFOW*)>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    getVersion(&version);
    const std::string windows = "Windows " + std::to_string(version.dwMajorVersion) + "." +
                                std::to_string(version.dwMinorVersion) + " build " +
                                std::to_string(version.dwBuildNumber);
    if (wineVersion != nullptr) {
        return {true, version.dwBuildNumber,
                std::string("Wine ") + wineVersion() + " (as " + windows + ")"};
    }
    return {false, version.dwBuildNumber, windows};
}

std::string contextName(DPI_AWARENESS_CONTEXT context) {
    const std::pair<DPI_AWARENESS_CONTEXT, const char*> names[] = {
        {DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, "per-monitor v2"},
        {DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE, "per-monitor v1"},
        {DPI_AWARENESS_CONTEXT_SYSTEM_AWARE, "system"},
        {DPI_AWARENESS_CONTEXT_UNAWARE, "unaware"}};
    for (const auto& [known, name] : names) {
        if (AreDpiAwarenessContextsEqual(context, known)) {
            return name;
        }
    }
    return "unknown";
}

INT_PTR CALLBACK quietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// An empty dialog in the pages' template font, its point size scaled from the DPI the
// dialog manager creates dialogs at here to dpi: its MapDialogRect is the templates' layout
// at dpi.
struct ReferenceDialog {
    HWND handle = nullptr;
    LOGFONTW font{};

    ReferenceDialog(const DialogTemplate& page, uint32_t dpi, uint32_t creationDpi) {
        const uint32_t points = page.pointSize * dpi / creationDpi;
        EXPECT_EQ(page.pointSize * dpi % creationDpi, 0u)
            << "no whole point size gives the font at " << dpi << " DPI where dialogs are made at "
            << creationDpi;
        // An extended template: version, signature, help id, extended style, style
        // (WS_POPUP | DS_SETFONT), no controls, at 0, 0 and 10 x 10 units.
        std::vector<WORD> bytes = {1, 0xFFFF, 0, 0, 0, 0, DS_SETFONT, 0x8000, 0, 0, 0, 10, 10};
        // No menu, class or caption; then the font.
        bytes.insert(bytes.end(), {0, 0, 0, static_cast<WORD>(points), page.weight,
                                   static_cast<WORD>(page.italic | page.charset << 8)});
        bytes.insert(bytes.end(), page.typeface.begin(), page.typeface.end());
        bytes.push_back(0);
        handle = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                            nullptr, quietDialogProc, 0);
        const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0));
        GetObjectW(dialogFont, sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -MulDiv(page.pointSize, dpi, 72)) << "reference font at " << dpi;
    }
    ~ReferenceDialog() { DestroyWindow(handle); }
};

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

// The rectangles the licence edit was given, as given: the control adjusts what it keeps.
struct EditRectSpy {
    static inline WNDPROC original = nullptr;
    static inline std::vector<RECT> given;

    static LRESULT CALLBACK proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == EM_SETRECT) {
            given.push_back(*reinterpret_cast<RECT*>(lParam));
        }
        return CallWindowProcW(original, edit, message, wParam, lParam);
    }
    static void attach(HWND edit) {
        given.clear();
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&proc)));
    }
};

class PageDpi : public WizardWindow {
protected:
    HWND edit() const { return control(0, LicenceEditId); }

    // Every page fills the main window's client area; every control has its template's
    // rectangle and font at dpi; the licence text was last inset by `inset` from its client area.
    void expectLaidOutAt(uint32_t dpi, int inset) {
        RECT client{};
        GetClientRect(window(), &client);
        for (uint32_t n = 0; n < PageCount; ++n) {
            const std::optional<DialogTemplate> layout =
                parseDialogTemplate(moduleResource(RT_DIALOG, static_cast<WORD>(104 + n)));
            ASSERT_TRUE(layout.has_value());
            const ReferenceDialog reference(*layout, dpi, GetDpiForWindow(page(n)));
            RECT frame{};
            GetWindowRect(page(n), &frame);
            MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&frame), 2);
            EXPECT_TRUE(EqualRect(&frame, &client)) << "page " << n << " at " << dpi;
            HWND child = GetWindow(page(n), GW_CHILD);
            for (const DialogItem& item : layout->items) {
                SCOPED_TRACE(testing::Message() << dpi << " DPI, page " << n << ", id " << item.id);
                ASSERT_NE(child, nullptr);
                RECT want{item.x, item.y, item.cx, item.cy};  // MapDialogRect keeps the size
                MapDialogRect(reference.handle, &want);
                RECT got{};
                GetWindowRect(child, &got);
                MapWindowPoints(nullptr, page(n), reinterpret_cast<POINT*>(&got), 2);
                EXPECT_EQ(got.left, want.left);
                EXPECT_EQ(got.top, want.top);
                EXPECT_EQ(got.right - got.left, want.right);
                EXPECT_EQ(got.bottom - got.top, want.bottom);
                // An icon shows no text, and its static control keeps no font.
                if ((item.style & SS_TYPEMASK) != SS_ICON || item.className != L"STATIC") {
                    const LOGFONTW font = fontOf(child);
                    EXPECT_EQ(font.lfHeight, reference.font.lfHeight);
                    EXPECT_STREQ(font.lfFaceName, reference.font.lfFaceName);
                }
                child = GetWindow(child, GW_HWNDNEXT);
            }
        }
        RECT editClient{};
        GetClientRect(edit(), &editClient);
        ASSERT_FALSE(EditRectSpy::given.empty());
        const RECT& given = EditRectSpy::given.back();
        EXPECT_EQ(given.left - editClient.left, inset) << dpi << " DPI";
        EXPECT_EQ(given.top - editClient.top, inset) << dpi << " DPI";
        EXPECT_EQ(given.right, editClient.right);
        EXPECT_EQ(given.bottom, editClient.bottom);
    }
};

}  // namespace

TEST_F(PageDpi, PagesTakeTheirTemplatesLayoutAndFontAtEachDpi) {
    EditRectSpy::attach(edit());
    const std::pair<uint32_t, int> insets[] = {{120, 6}, {144, 7}, {192, 10}};
    for (const auto& [dpi, inset] : insets) {
        layOutPages(dpi);
        expectLaidOutAt(dpi, inset);
    }
    // The notice that follows the dialog manager's rescale lays each page out at its DPI.
    for (uint32_t n = 0; n < PageCount; ++n) {
        SendMessageW(page(n), WM_DPICHANGED_AFTERPARENT, 0, 0);
    }
    const uint32_t own = GetDpiForWindow(page(0));
    expectLaidOutAt(own, static_cast<int>(std::min(5 * own / 96, 20u)));
}

TEST_F(PageDpi, TheStartInsetIsWhatAChangeToTheStartDpiGives) {
    RECT atStart{};
    SendMessageW(edit(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&atStart));
    layOutPage(Licence, GetDpiForWindow(page(0)));
    RECT afterChange{};
    SendMessageW(edit(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&afterChange));
    EXPECT_TRUE(EqualRect(&atStart, &afterChange))
        << atStart.left << "," << atStart.top << " at start, " << afterChange.left << ","
        << afterChange.top << " after";
}

// What the system says of the windows, and so how the window takes a DPI change: where the
// dialog manager rescales per-monitor (v2) dialogs, its handler leaves the change to it;
// elsewhere the handler takes the suggested rectangle and lays the pages out itself.
TEST_F(PageDpi, ADpiChangeGoesTheWayTheSystemRescalesDialogs) {
    const RunningSystem system = runningSystem();
    std::vector<HWND> windows = {window()};
    for (uint32_t n = 0; n < PageCount; ++n) {
        windows.push_back(page(n));
        for (HWND child = GetWindow(page(n), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            windows.push_back(child);
        }
    }
    const auto behaviour =
        reinterpret_cast<DIALOG_DPI_CHANGE_BEHAVIORS(WINAPI*)(HWND)>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDialogDpiChangeBehavior")));
    std::map<std::string, int> contexts;
    for (HWND each : windows) {
        ++contexts[contextName(GetWindowDpiAwarenessContext(each))];
    }
    std::printf(
        "ran on %s: GetDialogDpiChangeBehavior %s; of the main window, its %u pages "
        "and their controls,",
        system.name.c_str(),
        behaviour ? ("gives " + std::to_string(behaviour(window()))).c_str() : "is missing",
        PageCount);
    for (const auto& [name, count] : contexts) {
        std::printf(" %d have the %s context", count, name.c_str());
    }
    std::printf("\n");
    // Windows 10 1703 on gives the manifest's PerMonitorV2 to the thread and its windows, and
    // rescales their dialogs; Wine 8 and 10 give windows version 1 (Wine 10 gives the thread
    // version 2) and have no dialog rescale, nor the functions that control it.
    const bool versionTwo = !system.wine && system.build >= Windows10Version1703;
    const std::string expected = versionTwo ? "per-monitor v2" : "per-monitor v1";
    EXPECT_EQ(contexts, (std::map<std::string, int>{{expected, static_cast<int>(windows.size())}}))
        << system.name;
    EXPECT_EQ(behaviour != nullptr, versionTwo) << system.name;
    RECT suggested{40, 30, 700, 480};
    const WPARAM to144 = MAKEWPARAM(144, 144);
    if (versionTwo) {
        EXPECT_EQ(behaviour(window()), DDC_DEFAULT);
        EXPECT_EQ(
            mainDialogProc(window(), WM_DPICHANGED, to144, reinterpret_cast<LPARAM>(&suggested)),
            FALSE);
        return;
    }
    EditRectSpy::attach(edit());
    EXPECT_EQ(mainDialogProc(window(), WM_DPICHANGED, to144, reinterpret_cast<LPARAM>(&suggested)),
              TRUE);
    RECT frame{};
    GetWindowRect(window(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested))
        << frame.left << "," << frame.top << "," << frame.right << "," << frame.bottom;
    expectLaidOutAt(144, 7);
}
