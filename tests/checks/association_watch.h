// A window registered for the shell's notices that file types changed, as Explorer
// registers one; it counts the SHCNE_ASSOCCHANGED notices that reach it. Shared by the
// checks (an installer in another process) and win.install_steps_test (the final step).
#pragma once

#include <windows.h>

class AssociationWatch {
public:
    AssociationWatch();
    ~AssociationWatch();
    AssociationWatch(const AssociationWatch&) = delete;
    AssociationWatch& operator=(const AssociationWatch&) = delete;

    bool registered() const { return registration != 0; }
    // The notices that have reached the window, waiting up to two seconds for the first
    // AWAITED of them: Wine delivers them at once, Windows from the shell's own thread.
    int count(int awaited) const;

private:
    HWND window = nullptr;
    ULONG registration = 0;
};
