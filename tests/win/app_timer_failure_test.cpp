#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/load_defaults.h"
#include "app/main_window.h"
#include "app/step_timer.h"
#include "tests/win/app_test_setup.h"

// This program's timer can never be set.
bool startStepTimer(HWND) {
    return false;
}

namespace {

struct SeenBox {
    std::wstring text;
    bool ownerless = false;
    bool mainVisible = true;
};

// The message text of a box: its static control with text.
BOOL CALLBACK collectStaticText(HWND child, LPARAM text) {
    wchar_t className[16] = {};
    wchar_t buffer[128] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextW(child, buffer, 128) > 0) {
        *reinterpret_cast<std::wstring*>(text) = buffer;
    }
    return TRUE;
}

// Waits for the "Error" box, records what it shows, and presses OK.
void dismissErrorBox(SeenBox& seen, HWND& mainWindow, std::atomic<bool>& done) {
    for (int i = 0; i < 500 && !done; ++i) {
        HWND box = FindWindowW(L"#32770", L"Error");
        if (box != nullptr) {
            EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&seen.text));
            seen.ownerless = GetWindow(box, GW_OWNER) == nullptr;
            HWND main = FindWindowW(nullptr, L"Velkaris App Pack (Single User)");
            seen.mainVisible = main != nullptr && IsWindowVisible(main);
            mainWindow = main;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
        }
        Sleep(20);
    }
}

}  // namespace

TEST(TimerFailure, ShowsTheFailureBoxAndTheWindowNeverAppears) {
    TestSetup setup;
    ASSERT_EQ(loadDefaults(), 1u);
    SeenBox seen;
    HWND mainAtBox = nullptr;
    std::atomic<bool> done{false};
    std::thread watcher(dismissErrorBox, std::ref(seen), std::ref(mainAtBox), std::ref(done));

    setup.context.mainWindow = CreateDialogParamW(setup.context.instance, MAKEINTRESOURCEW(103),
                                                  nullptr, mainDialogProc, 0);
    done = true;
    watcher.join();
    ASSERT_NE(setup.context.mainWindow, nullptr);
    EXPECT_EQ(seen.text, L"Setup initialization failed.");
    EXPECT_TRUE(seen.ownerless);
    EXPECT_FALSE(seen.mainVisible);
    EXPECT_FALSE(IsWindowVisible(setup.context.mainWindow));

    // The window closes itself through WM_CLOSE and the run ends with quit code 0.
    MSG msg{};
    int guard = 0;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && ++guard < 1000) {
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(IsWindow(setup.context.mainWindow));
}
