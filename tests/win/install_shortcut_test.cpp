#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "install/shell_helpers.h"
#include "tests/win/install_test_files.h"

namespace {

// What a shell link file says, as the shell reads it back.
struct LinkContents {
    HRESULT loaded;
    std::wstring path;
    std::wstring arguments;
    std::wstring workingFolder;
    std::wstring description;
    WORD hotKey;
};

LinkContents readLink(const std::wstring& link) {
    LinkContents contents{};
    IShellLinkW* shellLink = nullptr;
    contents.loaded = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, reinterpret_cast<void**>(&shellLink));
    if (FAILED(contents.loaded)) {
        return contents;
    }
    IPersistFile* file = nullptr;
    shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    contents.loaded = file->Load(link.c_str(), STGM_READ);
    wchar_t text[MAX_PATH] = {};
    shellLink->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    contents.path = text;
    text[0] = L'\0';
    shellLink->GetArguments(text, MAX_PATH);
    contents.arguments = text;
    text[0] = L'\0';
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    contents.workingFolder = text;
    text[0] = L'\0';
    shellLink->GetDescription(text, MAX_PATH);
    contents.description = text;
    shellLink->GetHotkey(&contents.hotKey);
    file->Release();
    shellLink->Release();
    return contents;
}

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
