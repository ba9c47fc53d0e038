#include <gtest/gtest.h>

#include <vector>

#include "app/load_defaults.h"
#include "app/main_window.h"
#include "tests/win/app_recorded_steps.h"
#include "tests/win/app_test_setup.h"

namespace {

constexpr int LicenceEditId = 1004;

// The main window as start-up creates it, with the real templates and pages; the install
// steps are replaced by a recorder.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        recordedSteps.clear();
        ASSERT_EQ(loadDefaults(), 1u);
        setup.context.mainWindow = CreateDialogParamW(setup.context.instance, MAKEINTRESOURCEW(103),
                                                      nullptr, mainDialogProc, 0);
        ASSERT_NE(window(), nullptr);
    }
    void TearDown() override {
        if (IsWindow(window())) {
            setup.context.state = Wizard;
            SendMessageW(window(), WM_CLOSE, 0, 0);
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND window() const { return setup.context.mainWindow; }

    // Runs the message loop the way the program does until done() or about two seconds.
    template <typename Done>
    bool pumpUntil(Done done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageW(setup.context.pages[setup.context.currentPage], &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            Sleep(10);
        }
        return done();
    }

    bool quitPosted() {
        MSG msg;
        return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    TestSetup setup;
};

}  // namespace

TEST_F(MainWindow, StartsVisibleCentredWithCaptionIconAndLicencePage) {
    EXPECT_TRUE(IsWindowVisible(window()));
    wchar_t caption[64] = {};
    GetWindowTextW(window(), caption, 64);
    EXPECT_STREQ(caption, L"Velkaris App Pack (Single User)");
    EXPECT_NE(setup.context.icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window(), WM_GETICON, ICON_BIG, 0)),
              setup.context.icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window(), WM_GETICON, ICON_SMALL, 0)),
              setup.context.icon);
    EXPECT_EQ(setup.context.detailsList, GetDlgItem(setup.context.pages[3], 1018));
    for (uint32_t n = 0; n < PageCount; ++n) {
        EXPECT_EQ(GetParent(setup.context.pages[n]), window());
        EXPECT_EQ(IsWindowVisible(setup.context.pages[n]) != 0, n == 0) << "page " << n;
    }

    RECT windowRect{};
    RECT workArea{};
    GetWindowRect(window(), &windowRect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_EQ(windowRect.left, workArea.left + ((workArea.right - workArea.left) -
                                                (windowRect.right - windowRect.left)) / 2);
    EXPECT_EQ(windowRect.top, workArea.top + ((workArea.bottom - workArea.top) -
                                              (windowRect.bottom - windowRect.top)) / 2);
}

TEST_F(MainWindow, AppMessageSchedulesThatStepForTheNextTickOnly) {
    SendMessageW(window(), WM_TIMER, StepTimerId, 0);
    EXPECT_TRUE(recordedSteps.empty()) << "a tick with nothing pending runs nothing";

    SendMessageW(window(), WM_APP, 4, 0);
    EXPECT_EQ(setup.context.pendingStep, 5u);
    SendMessageW(window(), WM_TIMER, 7, 0);  // the timer id is not examined
    SendMessageW(window(), WM_TIMER, StepTimerId, 0);
    EXPECT_EQ(recordedSteps, std::vector<uint32_t>{4});
}

TEST_F(MainWindow, TheRunningTimerDeliversAPostedStep) {
    PostMessageW(window(), WM_APP, 2, 0);
    ASSERT_TRUE(pumpUntil([] { return !recordedSteps.empty(); }));
    pumpUntil([] { return false; });  // further ticks run nothing more
    EXPECT_EQ(recordedSteps, std::vector<uint32_t>{2});
}

TEST_F(MainWindow, CloseIsDroppedWhileInstalling) {
    setup.context.state = Installing;
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Installing));
    EXPECT_FALSE(quitPosted());
}

TEST_F(MainWindow, CloseInTheWizardDestroysTheWindowAndPostsQuit) {
    const HWND page = setup.context.pages[2];
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_FALSE(IsWindow(page)) << "pages go with the main window";
    EXPECT_EQ(setup.context.state, static_cast<uint32_t>(Closing));
    EXPECT_TRUE(quitPosted());
}

TEST_F(MainWindow, CloseWhenFinishedDestroysTheWindowAndPostsQuit) {
    setup.context.state = Finished;
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_TRUE(quitPosted());
}

TEST_F(MainWindow, DestroyOutsideClosingDoesNotEndTheRun) {
    SendMessageW(window(), WM_DESTROY, 0, 0);
    EXPECT_FALSE(quitPosted());
}

// The rectangles the licence edit was given, as they were given: the control adjusts a
// rectangle for its border and line height, so the test watches the messages.
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

RECT formatRect(HWND edit) {
    RECT rect{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool sameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

TEST_F(MainWindow, DpiChangeIsLeftToTheDialogManagerThenInsetsFromTheClientArea) {
    const HWND edit = GetDlgItem(setup.context.pages[0], LicenceEditId);
    EditRectSpy::attach(edit);
    // A per-monitor (v2) dialog is rescaled by the dialog manager when its procedure leaves
    // the message to it; Wine does not rescale dialogs, so only Windows shows the rescaling.
    RECT suggested{0, 0, 10, 10};
    const auto dpiChange = [](WORD dpi) { return MAKEWPARAM(dpi, dpi); };
    EXPECT_EQ(mainDialogProc(window(), WM_DPICHANGED, dpiChange(120),
                             reinterpret_cast<LPARAM>(&suggested)),
              FALSE);
    // The inset is set once the relayout is done, by a message posted to the window.
    ASSERT_TRUE(pumpUntil([] { return EditRectSpy::given.size() == 1; }));
    const RECT at120 = formatRect(edit);
    SendMessageW(window(), WM_DPICHANGED, dpiChange(120), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_TRUE(pumpUntil([] { return EditRectSpy::given.size() == 2; }));
    EXPECT_TRUE(sameRect(formatRect(edit), at120)) << "a second change to one DPI moves nothing";
    SendMessageW(window(), WM_DPICHANGED, dpiChange(400), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_TRUE(pumpUntil([] { return EditRectSpy::given.size() == 3; }));

    // Every change starts from the client area, not from what the start or the change
    // before left: 6 pixels in at 120 DPI, 20 at 400.
    RECT client{};
    GetClientRect(edit, &client);
    const int expectedInsets[] = {6, 6, 20};
    for (size_t i = 0; i < 3; ++i) {
        const RECT& given = EditRectSpy::given[i];
        EXPECT_EQ(given.left - client.left, expectedInsets[i]) << "change " << i;
        EXPECT_EQ(given.top - client.top, expectedInsets[i]) << "change " << i;
        EXPECT_EQ(given.right, client.right) << "change " << i;
        EXPECT_EQ(given.bottom, client.bottom) << "change " << i;
    }
}
