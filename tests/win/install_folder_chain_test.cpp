#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "install/shell_helpers.h"
#include "tests/win/install_test_files.h"

namespace {

class FolderChain : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        base = freshFolder(std::wstring(name, name + strlen(name)));
    }
    void TearDown() override { SetCurrentDirectoryW(L"C:\\"); }

    std::wstring base;
};

// The folder Wine maps \\server\share\ to: <prefix>\dosdevices\unc\server\share, reached
// through the drive Z: that Wine gives the Unix root.
std::wstring uncFolderOnDisk(const std::wstring& server, const std::wstring& share) {
    wchar_t prefix[MAX_PATH] = {};
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    std::wstring folder = std::wstring(L"Z:") + prefix + L"\\dosdevices\\unc";
    for (wchar_t& c : folder) {
        c = c == L'/' ? L'\\' : c;
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\" + server;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + share;
}

}  // namespace

TEST_F(FolderChain, EmptyPathIsDone) {
    EXPECT_EQ(createFolderChain(L""), 1u);
    EXPECT_EQ(createFolderChain(nullptr), 0u);
}

TEST_F(FolderChain, DrivePathCreatesEveryMissingFolderOnce) {
    const std::wstring path = base + L"Apps\\Velkaris\\";
    EXPECT_EQ(createFolderChain(path.c_str()), 1u);
    EXPECT_TRUE(folderExists(base + L"Apps"));
    EXPECT_TRUE(folderExists(path));
    // Everything there already: nothing to do, still success.
    EXPECT_EQ(createFolderChain(path.c_str()), 1u);
    EXPECT_TRUE(folderExists(path));
}

TEST_F(FolderChain, ForwardSlashesSeparateToo) {
    std::wstring path = base + L"Apps/Velkaris/";
    EXPECT_EQ(createFolderChain(path.c_str()), 1u);
    EXPECT_TRUE(folderExists(base + L"Apps\\Velkaris"));
}

TEST_F(FolderChain, LastComponentWithoutSeparatorIsNotCreated) {
    EXPECT_EQ(createFolderChain((base + L"Apps\\Velkaris").c_str()), 1u);
    EXPECT_TRUE(folderExists(base + L"Apps"));
    EXPECT_FALSE(folderExists(base + L"Apps\\Velkaris"));
}

TEST_F(FolderChain, FileInTheWayStopsTheChainAndKeepsWhatWasMade) {
    writeFile(base + L"Apps", "not a folder");
    EXPECT_EQ(createFolderChain((base + L"Apps\\Velkaris\\").c_str()), 0u);
    EXPECT_TRUE(fileExists(base + L"Apps"));
    // Made\ is created, then Made\..\Apps\ is the file: the chain stops there.
    EXPECT_EQ(createFolderChain((base + L"Made\\..\\Apps\\Velkaris\\").c_str()), 0u);
    EXPECT_TRUE(folderExists(base + L"Made"));
    EXPECT_FALSE(folderExists(base + L"Made\\Velkaris"));
}

TEST_F(FolderChain, RootedPathStartsBelowTheRootOfTheCurrentDrive) {
    SetCurrentDirectoryW(base.c_str());
    // base without its drive letter and colon.
    const std::wstring rooted = base.substr(2) + L"data\\sub\\";
    EXPECT_EQ(createFolderChain(rooted.c_str()), 1u);
    EXPECT_TRUE(folderExists(base + L"data\\sub"));
}

TEST_F(FolderChain, RelativePathStartsAtTheCurrentFolder) {
    SetCurrentDirectoryW(base.c_str());
    EXPECT_EQ(createFolderChain(L"data\\sub\\"), 1u);
    EXPECT_TRUE(folderExists(base + L"data\\sub"));
}

TEST_F(FolderChain, DriveRelativePathNeverExaminesItsFirstFolder) {
    // C:Apps\ has one separator, below the two a drive path passes before acting: nothing
    // is made, and C:Apps\Sub\ fails because its parent was never created.
    SetCurrentDirectoryW(base.c_str());
    EXPECT_EQ(createFolderChain(L"C:Apps\\"), 1u);
    EXPECT_FALSE(folderExists(base + L"Apps"));
    EXPECT_EQ(createFolderChain(L"C:Apps\\Sub\\"), 0u);
    EXPECT_FALSE(folderExists(base + L"Apps"));
}

TEST_F(FolderChain, NetworkPathStartsAtTheShare) {
    const std::wstring share = uncFolderOnDisk(L"velkaris-server", L"share");
    CreateDirectoryW(share.c_str(), nullptr);
    EXPECT_EQ(createFolderChain(L"\\\\velkaris-server\\share\\dir\\sub\\"), 1u);
    EXPECT_TRUE(folderExists(share + L"\\dir\\sub"));
    // A missing share is the first folder examined, so it is created too.
    EXPECT_EQ(createFolderChain(L"\\\\velkaris-server\\newshare\\dir\\"), 1u);
    EXPECT_TRUE(folderExists(uncFolderOnDisk(L"velkaris-server", L"newshare") + L"\\dir"));
}

TEST_F(FolderChain, NetworkPrefixBeforeTheFourthSeparatorIsNotExamined) {
    // \\?\ cannot be created; the chain only starts at \\?\C:\ , the fourth separator.
    const std::wstring path = L"\\\\?\\" + base + L"long\\form\\";
    EXPECT_EQ(createFolderChain(path.c_str()), 1u);
    EXPECT_TRUE(folderExists(base + L"long\\form"));
}

TEST_F(FolderChain, PathOfUpTo259CharactersIsTakenLongerIsRefusedUntouched) {
    std::wstring longest = base + L"x\\";
    longest += std::wstring(258 - longest.size(), L'y') + L"\\";
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(createFolderChain(longest.c_str()), 1u);
    EXPECT_TRUE(folderExists(longest));

    std::wstring tooLong = base + L"z\\";
    tooLong += std::wstring(259 - tooLong.size(), L'y') + L"\\";
    ASSERT_EQ(tooLong.size(), 260u);
    EXPECT_EQ(createFolderChain(tooLong.c_str()), 0u);
    EXPECT_FALSE(folderExists(base + L"z"));
}
