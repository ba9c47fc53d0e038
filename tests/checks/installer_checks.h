// The checks of the installer and the uninstaller on this system (the test programs' check
// is in test_program_check.h). Each leaves no installation behind.
#pragma once

#include "tests/checks/check_run.h"

// install: the four pages driven with key presses, a screenshot of each; the files, the
// shortcuts, the registry values; Explorer told once; nothing outside the profile and HKCU.
void checkInstallation(CheckRun& run);

// uninstall-start-wait and uninstall-silent: the installed uninstaller started as a person
// at a prompt starts it (start "" /wait, answering its question) and as a script does (/S):
// its exit code, its helper's folder and RunOnce value, the sign-in, then nothing left.
void checkUninstallStartWait(CheckRun& run);
void checkUninstallSilent(CheckRun& run);

// What other programs hold while uninstall.exe /S runs, each with its exit code and what is
// left: uninstall.exe held without share-delete; an application running; the installation
// folder as another process's current folder; an application held by a scanner that shares
// deletion; an installation folder whose path holds %, &, ^, ! and (.
void checkUninstallerHeld(CheckRun& run);
void checkApplicationRunning(CheckRun& run);
void checkFolderInUse(CheckRun& run);
void checkScannerHolds(CheckRun& run);
void checkSpecialFolderPath(CheckRun& run);

// manifests: every shipped program carries its manifest; dpi-awareness: the installer runs
// with the Per-Monitor-V2 context that its manifest asks for.
void checkManifests(CheckRun& run);
void checkDpiAwareness(CheckRun& run);
