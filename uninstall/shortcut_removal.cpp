#include "uninstall/shortcut_removal.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "uninstall/command_paths.h"
#include "uninstall/file_removal.h"
#include "uninstall/removal_plan.h"

namespace {

// The target path stored in a shortcut file, or nothing when it cannot be read.
std::optional<std::wstring> shortcutTarget(const std::wstring& link)
{
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink)))) {
        return std::nullopt;
    }
    std::optional<std::wstring> target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
            shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) {
            target = path;
        }
        file->Release();
    }
    shellLink->Release();
    return target;
}

}  // namespace

std::wstring userProgramsFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return path;
}

std::wstring packShortcutFolder(std::wstring_view programsFolder)
{
    if (programsFolder.empty()) {
        return {};
    }
    std::wstring folder(programsFolder);
    folder += L'\\';
    folder += StartMenuFolderName;
    return folder;
}

void removeShortcuts(std::wstring_view programsFolder, std::wstring_view installFolder,
                     RemovalOutcome& outcome)
{
    const std::wstring folder = packShortcutFolder(programsFolder);
    if (folder.empty()) {
        return;
    }
    for (const std::wstring_view name : ApplicationNames) {
        std::wstring link = folder + L'\\';
        link += name;
        link += L".lnk";
        const std::optional<std::wstring> target = shortcutTarget(link);
        if (target && sameFolder(folderOf(*target), installFolder)) {
            removeFile(link, outcome);
        }
    }
}
