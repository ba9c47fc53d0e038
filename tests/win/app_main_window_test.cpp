#include <gtest/gtest.h>

#include <vector>

#include "app/load_defaults.h"
#include "app/main_window.h"
#include "tests/win/app_recorded_steps.h"
#include "tests/win/app_test_setup.h"

namespace {

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
