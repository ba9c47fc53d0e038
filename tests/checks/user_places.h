// The folders a per-user installation writes to, and the machine-wide ones it must never
// touch, as this system names them (no trailing backslash).
#pragma once

#include <string>

struct UserPlaces {
    std::wstring appData;       // %APPDATA%: the default installation folder's parent
    std::wstring programs;      // the user's Start-menu programs
    std::wstring temporary;     // GetTempPathW's folder, where the uninstaller's helper goes
    std::wstring localAppData;
    std::wstring system;        // the system folder, where cmd.exe lies
    std::wstring systemDrive;   // "C:"
    std::wstring programFiles;  // machine-wide: never written by a per-user installation
    std::wstring programFilesX86;
    std::wstring commonPrograms;
};

const UserPlaces& userPlaces();

// Where the installer installs by default, and its Start-menu folder.
std::wstring defaultDestination();
std::wstring menuFolder();
