// Entry point of the installer. It takes no arguments: the command line and the show
// command are ignored.
#include <windows.h>

#include "app/setup_run.h"

namespace {

using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

// Installers run from download folders, where anything may lie next to them: from here on,
// DLLs loaded by name (by COM, the shell dialogs, the common controls) come only from the
// system folder, never from the program's or the current folder. The call is looked up, not
// imported: Windows Vista, and 7 without the loader update that added it, would refuse to
// start a program importing it; there the system's own search order stays.
void restrictDllSearchToSystemFolder() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return;
    }
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesCall>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictDllSearchToSystemFolder();
    return runSetup(instance);
}
