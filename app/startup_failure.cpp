#include "app/startup_failure.h"

void showStartupFailure(HWND owner) {
    MessageBoxA(owner, "Setup initialization failed.", "Error", MB_ICONERROR);
}
