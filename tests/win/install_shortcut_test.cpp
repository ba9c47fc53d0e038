#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "install/shell_helpers.h"
#include "tests/win/install_test_files.h"
#include "tests/win/install_test_links.h"

namespace {

// The result the shell gives for saving a fresh link at path.
HRESULT saveResult(const std::wstring& target, const std::wstring& link) {
    IShellLinkW* shellLink = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                     reinterpret_cast<void**>(&shellLink));
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    const HRESULT result = file->Save(link.c_str(), TRUE);
    file->Release();
    shellLink->Release();
    return result;
}

class Shortcut : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        folder = freshFolder(L"shortcut");
        target = folder + L"Tunewell.exe";
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        CopyFileW(self, target.c_str(), FALSE);
    }

    std::wstring folder;
    std::wstring target;
};

}  // namespace

TEST_F(Shortcut, LinkPointsAtTheTargetAndCarriesNothingElse) {
    const std::wstring link = folder + L"Tunewell.lnk";
    ASSERT_EQ(createShortcut(target.c_str(), link.c_str()), S_OK);
    const LinkContents contents = readLink(link);
    ASSERT_EQ(contents.loaded, S_OK);
    EXPECT_EQ(contents.path, target);
    EXPECT_EQ(contents.arguments, L"");
    EXPECT_EQ(contents.workingFolder, L"");
    EXPECT_EQ(contents.description, L"");
    EXPECT_EQ(contents.hotKey, 0);
}

TEST_F(Shortcut, ExistingLinkIsReplaced) {
    const std::wstring link = folder + L"Tunewell.lnk";
    writeFile(link, "not a link");
    ASSERT_EQ(createShortcut(target.c_str(), link.c_str()), S_OK);
    EXPECT_EQ(readLink(link).path, target);
}

TEST_F(Shortcut, LinkInAMissingFolderFailsWithTheCodeOfSave) {
    const std::wstring link = folder + L"missing\\Tunewell.lnk";
    const HRESULT result = createShortcut(target.c_str(), link.c_str());
    EXPECT_TRUE(FAILED(result));
    EXPECT_EQ(result, saveResult(target, link));
    EXPECT_FALSE(fileExists(link));
}
