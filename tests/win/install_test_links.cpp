#include "tests/win/install_test_links.h"

#include <shlobj.h>

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
