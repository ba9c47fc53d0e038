// Entry point of the installer. It takes no arguments: the command line and the show
// command are ignored.
#include <windows.h>

#include "app/setup_run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return runSetup(instance);
}
