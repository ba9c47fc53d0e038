#include <gtest/gtest.h>

#include <shlobj.h>

#include <vector>

#include "wizard/destination.h"

namespace {

struct SentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<SentMessage> sent;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BFFM_SETOKTEXT || message == BFFM_SETSELECTIONW) {
        sent.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A stand-in for the browser window that records the browser messages it is sent.
class BrowseCallback : public ::testing::Test {
protected:
    void SetUp() override {
        sent.clear();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = recordingProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VelkarisBrowserStandIn";
        RegisterClassW(&windowClass);
        browser = CreateWindowExW(0, L"VelkarisBrowserStandIn", L"Browse", WS_OVERLAPPED, 0, 0,
                                  10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(browser, nullptr);
    }
    void TearDown() override { DestroyWindow(browser); }

    std::wstring caption() const {
        wchar_t text[64] = {};
        GetWindowTextW(browser, text, 64);
        return text;
    }
    int call(UINT message, BrowseRequest& request) {
        return browseCallback(browser, message, 0, reinterpret_cast<LPARAM>(&request));
    }

    HWND browser = nullptr;
    wchar_t path[300] = L"C:\\users";
};

}  // namespace

TEST_F(BrowseCallback, InitialisedAppliesCaptionOkTextAndSelection) {
    BrowseRequest request{nullptr, L"Pick", L"title", L"Take", path};
    EXPECT_EQ(call(BFFM_INITIALIZED, request), 0);
    EXPECT_EQ(caption(), L"Pick");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].message, static_cast<UINT>(BFFM_SETOKTEXT));
    EXPECT_EQ(sent[0].wParam, 0u);
    EXPECT_EQ(sent[0].lParam, reinterpret_cast<LPARAM>(request.okText));
    EXPECT_EQ(sent[1].message, static_cast<UINT>(BFFM_SETSELECTIONW));
    EXPECT_EQ(sent[1].wParam, 1u) << "the selection is a path, not an item list";
    EXPECT_EQ(sent[1].lParam, reinterpret_cast<LPARAM>(path));
}

TEST_F(BrowseCallback, TheRequestOfBrowseOnlySelectsThePath) {
    BrowseRequest request{nullptr, nullptr, L"title", nullptr, path};
    EXPECT_EQ(call(BFFM_INITIALIZED, request), 0);
    EXPECT_EQ(caption(), L"Browse");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, static_cast<UINT>(BFFM_SETSELECTIONW));
}

TEST_F(BrowseCallback, AnEmptyOrMissingPathSelectsNothing) {
    path[0] = L'\0';
    BrowseRequest empty{nullptr, nullptr, L"title", nullptr, path};
    EXPECT_EQ(call(BFFM_INITIALIZED, empty), 0);
    BrowseRequest missing{nullptr, nullptr, L"title", nullptr, nullptr};
    EXPECT_EQ(call(BFFM_INITIALIZED, missing), 0);
    EXPECT_TRUE(sent.empty());
}

TEST_F(BrowseCallback, OtherBrowserMessagesDoNothing) {
    BrowseRequest request{nullptr, L"Pick", L"title", L"Take", path};
    for (UINT message :
         {UINT{BFFM_SELCHANGED}, UINT{BFFM_VALIDATEFAILEDW}, UINT{BFFM_IUNKNOWN}, 0u}) {
        EXPECT_EQ(call(message, request), 0);
    }
    EXPECT_EQ(caption(), L"Browse");
    EXPECT_TRUE(sent.empty());
}
