#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "tests/win/app_test_setup.h"
#include "tests/win/wizard_browse_script.h"
#include "tests/win/wizard_window.h"
#include "wizard/destination.h"
#include "tests/win/test_cleanup.h"

namespace {

const bool testRootRemoved = removedAfterTheTests(L"C:\\velkaris-wizard");

constexpr wchar_t TestRoot[] = L"C:\\velkaris-wizard";

// Creates every folder of path, however long, through the long-path form.
std::wstring makeLongFolders(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            CreateDirectoryW((L"\\\\?\\" + path.substr(0, i)).c_str(), nullptr);
        }
    }
    return path;
}

// A folder of exactly chars characters (no final backslash) under the test root.
std::wstring folderOfLength(size_t chars) {
    std::wstring path = TestRoot;
    while (path.size() < chars) {
        const size_t remaining = chars - path.size();
        const size_t part = remaining > 101 ? 50 : remaining - 1;
        path += L"\\" + std::wstring(part, static_cast<wchar_t>(L'a' + path.size() % 26));
    }
    EXPECT_EQ(path.size(), chars);
    return makeLongFolders(path);
}

// The folders the tests browse to, made once for the suite.
struct Folders {
    std::wstring chosen = makeFolders(std::wstring(TestRoot) + L"\\chosen");
    std::wstring cancelled = makeFolders(std::wstring(TestRoot) + L"\\cancelled");
    std::wstring first = makeFolders(std::wstring(TestRoot) + L"\\first");
    std::wstring second = makeFolders(std::wstring(TestRoot) + L"\\second");
    std::wstring longest = folderOfLength(244);
    std::wstring oneTooLong = folderOfLength(245);
    std::wstring browserLimit = folderOfLength(259);
};

class Browse : public WizardWindow {
protected:
    static void SetUpTestSuite() { folders = new Folders; }
    static void TearDownTestSuite() { delete folders; }

    void SetUp() override {
        WizardWindow::SetUp();
        goToPage(Destination);
    }

    // Presses Browse with script answering. Under Wine the browser often fails to select a
    // start folder whose upper levels no browser of the process has shown yet, and opens at
    // the desktop instead; so the browser is first opened and cancelled once at the same
    // start folder, which leaves nothing changed.
    void browse(BrowseScript& script) {
        BrowseScript firstLook;
        firstLook.accept = false;
        runWithBrowseScript(firstLook, [&] { click(Destination, 4); });
        runWithBrowseScript(script, [&] { click(Destination, 4); });
    }

    std::wstring installDir() const { return setup.context.installDir; }
    std::wstring browsePath() const { return setup.context.browsePath; }
    std::wstring field() const { return textW(control(Destination, 1005)); }
    void setBrowsePath(const std::wstring& path) { wcscpy(setup.context.browsePath, path.c_str()); }

    static const Folders* folders;
};

const Folders* Browse::folders = nullptr;

}  // namespace

TEST_F(Browse, AcceptedFolderBecomesTheDestinationWithOneBackslash) {
    const std::wstring folder = folders->chosen;
    setBrowsePath(folder);
    SetDlgItemTextA(page(Destination), 1017, "stale");
    BrowseScript script;
    browse(script);

    ASSERT_EQ(script.browsers.size(), 1u);
    EXPECT_EQ(script.browsers[0].owner, window()) << "owned through the destination page";
    bool titleShown = false;
    for (const std::wstring& text : script.browsers[0].texts) {
        titleShown |= text == L"Select a destination folder for Velkaris App Pack.";
    }
    EXPECT_TRUE(titleShown);
    EXPECT_TRUE(script.messageBoxes.empty());
    EXPECT_EQ(installDir(), folder + L"\\");
    EXPECT_EQ(browsePath(), folder);
    EXPECT_EQ(field(), folder + L"\\");
    EXPECT_EQ(textA(Destination, 1017).rfind("Space required:  ", 0), 0u) << "figures recomputed";
    EXPECT_EQ(setup.context.currentPage, static_cast<uint32_t>(Destination));
}

TEST_F(Browse, CancelledBrowseChangesNothing) {
    const std::wstring folder = folders->cancelled;
    setBrowsePath(folder);
    const std::wstring before = installDir();
    SetDlgItemTextA(page(Destination), 1017, "unchanged");
    BrowseScript script;
    script.accept = false;
    browse(script);

    EXPECT_EQ(script.browsers.size(), 1u);
    EXPECT_EQ(installDir(), before);
    EXPECT_EQ(browsePath(), folder);
    EXPECT_EQ(field(), before);
    EXPECT_EQ(textA(Destination, 1017), "unchanged");
}

TEST_F(Browse, DriveRootGivesTheRootWithASingleBackslash) {
    setBrowsePath(L"C:\\");
    BrowseScript script;
    browse(script);
    EXPECT_EQ(installDir(), L"C:\\");
    EXPECT_EQ(field(), L"C:\\");
    EXPECT_NE(textA(Destination, 1016), "Space available: ?");
}

TEST_F(Browse, NextBrowseOpensAtTheFolderChosenLast) {
    const std::wstring& first = folders->first;
    const std::wstring& second = folders->second;
    setBrowsePath(first);
    BrowseScript choose;
    choose.select = second;
    browse(choose);
    ASSERT_EQ(installDir(), second + L"\\");

    BrowseScript keep;
    browse(keep);
    EXPECT_EQ(installDir(), second + L"\\");
    EXPECT_EQ(browsePath(), second);
}

TEST_F(Browse, FolderTooLongForTheInstalledPathsIsRefusedWithAMessage) {
    const std::wstring before = installDir();
    const std::wstring& tooLong = folders->browserLimit;
    SetDlgItemTextA(page(Destination), 1017, "unchanged");
    const BOOL installWasEnabled = IsWindowEnabled(control(Destination, 1));
    setBrowsePath(tooLong);
    BrowseScript script;
    browse(script);

    ASSERT_EQ(script.messageBoxes.size(), 1u);
    const SeenWindow& box = script.messageBoxes[0];
    EXPECT_EQ(box.caption, L"Velkaris App Pack (Single User)");
    EXPECT_EQ(box.owner, window());
    bool textShown = false;
    for (const std::wstring& text : box.texts) {
        textShown |= text == L"The folder path is too long. Choose a folder with a path of at "
                             L"most 245 characters.";
    }
    EXPECT_TRUE(textShown);
    EXPECT_EQ(installDir(), before);
    EXPECT_EQ(field(), before);
    EXPECT_EQ(textA(Destination, 1017), "unchanged");
    EXPECT_EQ(IsWindowEnabled(control(Destination, 1)), installWasEnabled);
    EXPECT_EQ(browsePath(), tooLong) << "the next browse starts at the refused folder";
}

TEST_F(Browse, FoldersAreTakenUpToTheLimitAndRefusedBeyondIt) {
    const std::wstring& longest = folders->longest;
    setBrowsePath(longest);
    BrowseScript fits;
    browse(fits);
    EXPECT_TRUE(fits.messageBoxes.empty());
    EXPECT_EQ(installDir(), longest + L"\\");
    EXPECT_TRUE(IsWindowEnabled(control(Destination, 1)));

    setBrowsePath(folders->oneTooLong);
    BrowseScript tooLong;
    browse(tooLong);
    EXPECT_EQ(tooLong.messageBoxes.size(), 1u);
    EXPECT_EQ(installDir(), longest + L"\\");
}



