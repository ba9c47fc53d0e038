// Creates a shell link file that points at a target program.
#include <windows.h>
#include <shlobj.h>

#include "install/shell_helpers.h"

namespace {

// The shell link's class and interfaces, defined here: taking them from the GUID library
// would link two whole objects of unrelated GUIDs, some 40 KB, into the installer.
constexpr CLSID ShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID ShellLinkInterface = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID PersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

HRESULT createShortcut(const wchar_t* target, const wchar_t* link) {
    IShellLinkW* shellLink = nullptr;
    HRESULT result = CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                      ShellLinkInterface, reinterpret_cast<void**>(&shellLink));
    if (FAILED(result)) {
        return result;
    }
    // Only the target is set: no arguments, working folder, description, icon or hot key.
    shellLink->SetPath(target);
    IPersistFile* file = nullptr;
    result = shellLink->QueryInterface(PersistFileInterface, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        shellLink->Release();
        return result;
    }
    result = file->Save(link, TRUE);
    file->Release();
    shellLink->Release();
    return result;
}
