// Whatever a check installs goes at its end, passed or failed, so that later checks and the
// user's machine see no installation: the installed uninstaller removes it, the next
// sign-in is played, and whatever still stays (the uninstaller refused, or the check
// stopped half-way) the guard removes itself, saying so in the check's log.
#pragma once

#include <string>

#include "tests/checks/check_run.h"

class InstallationGuard {
public:
    // DESTINATION: the installation folder the check installs into, with its backslash.
    InstallationGuard(CheckRun& run, std::wstring destination);
    ~InstallationGuard();
    InstallationGuard(const InstallationGuard&) = delete;
    InstallationGuard& operator=(const InstallationGuard&) = delete;

private:
    CheckRun& run;
    std::wstring destination;
};
