// Entry point of the installer. It takes no arguments: the command line and the show
// command are ignored.
#include <windows.h>

#include "app/setup_run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Installers run from download folders, where anything may lie next to them: from here
    // on, DLLs loaded by name (by COM, the shell dialogs, the common controls) come only
    // from the system folder, never from the program's or the current folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return runSetup(instance);
}
