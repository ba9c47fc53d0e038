// The two roles of the uninstaller (see helper_process.h).
#pragma once

#include "uninstall/removal_outcome.h"
#include "uninstall/uninstall_request.h"

// Started by the user or a script from the installed folder: checks that the folder holds
// this installation and that neither another uninstaller nor the installer is at work on
// it, asks once (unless silent) and hands the work to the helper.
ExitCode runOriginal(bool silent);

// True when a helper request comes from the original it names, and that original is the
// registered uninstaller of an installation in its folder (as runOriginal checks).
bool comesFromItsOriginal(const UninstallRequest& request);

// The copy in the temporary folder, for a request that comes from its original: removes
// the shortcuts, the applications and their file types, then (when all that worked) moves
// the original's file out of the installation folder and removes the registration and the
// folders, and only then sends the exit code, which tells what is settled, and reports the
// outcome. When something stays, the uninstaller and its registration stay too, so that the
// user can run it again; a folder that another program holds goes at the next logon.
ExitCode runHelper(const UninstallRequest& request);
