// What a run of the uninstaller achieved, its exit code and the text that reports it.
// Portable: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr std::wstring_view ProductName = L"Velkaris App Pack (Single User)";
inline constexpr std::wstring_view UninstallCaption = L"Velkaris App Pack (Single User) Uninstall";

// The process exit codes.
enum class ExitCode : int {
    Removed = 0,     // everything of the installation is gone
    Incomplete = 1,  // something could not be removed (or the removal could not start)
    Cancelled = 2,   // the user answered No
    Refused = 3,     // not started as this edition's uninstaller of an installation
    RemovedAtNextLogon = 4,  // everything is gone but folders that another program still
                             // holds; they are removed at the user's next logon
};

struct RemovalOutcome {
    std::vector<std::wstring> failures;      // one sentence for each thing that stays
    std::vector<std::wstring> keptPrograms;  // programs that are not the ones installed
    std::vector<std::wstring> deletedFiles;  // full paths of the files this run deleted
    std::vector<std::wstring> foldersAtNextLogon;  // removed at the user's next logon
    bool uninstallerKept = false;            // kept so that the user can run it again
    bool folderKept = false;                 // the folder holds files of the user
};

// Records that what (a path or a registry key) could not be removed, and why.
void noteFailure(RemovalOutcome& outcome, std::wstring_view what, std::wstring_view reason);

ExitCode exitCodeOf(const RemovalOutcome& outcome);

// The closing report: success, or every failure and what the user can do about it; then
// the programs kept because they differ from the installed ones, the kept folder, and the
// folders that go at the next logon.
std::wstring describeOutcome(const RemovalOutcome& outcome, std::wstring_view folder);
