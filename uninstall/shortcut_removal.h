// Deletes the applications' Start-menu shortcuts.
#pragma once

#include <string>
#include <string_view>

#include "uninstall/removal_outcome.h"

// The user's Start-menu programs folder, without a trailing separator; empty when the
// system names none.
std::wstring userProgramsFolder();

// The pack's folder in programsFolder (programsFolder\Velkaris); empty without one.
std::wstring packShortcutFolder(std::wstring_view programsFolder);

// Deletes <name>.lnk of every application in programsFolder\Velkaris whose target lies
// directly in installFolder; the folder itself goes once the uninstaller is gone. A
// shortcut that leads elsewhere, or cannot be read, is left alone. Needs COM on the
// calling thread.
void removeShortcuts(std::wstring_view programsFolder, std::wstring_view installFolder,
                     RemovalOutcome& outcome);
