// Creates a shell link file that points at a target program.
#include <windows.h>
#include <shlobj.h>

#include "install/shell_helpers.h"

HRESULT createShortcut(const wchar_t* target, const wchar_t* link) {
    IShellLinkW* shellLink = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&shellLink));
    if (FAILED(result)) {
        return result;
    }
    // Only the target is set: no arguments, working folder, description, icon or hot key.
    shellLink->SetPath(target);
    IPersistFile* file = nullptr;
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        shellLink->Release();
        return result;
    }
    result = file->Save(link, TRUE);
    file->Release();
    shellLink->Release();
    return result;
}
