// What a run of the uninstaller achieved, its exit code and the text that reports it.
// Portable: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr std::wstring_view ProductName = L"Velkaris App Pack (Single User)";
inline constexpr std::wstring_view UninstallCaption = L"Velkaris App Pack (Single User) Uninstall";

// The process exit codes. The helper sends one only once everything it does is done, so
// that each promises what the installation is like when the original ends with it:
enum class ExitCode : int {
    Removed = 0,     // everything of the installation is gone, but files of the user and
                     // programs that differ from the installed ones, and the folders that
                     // hold them; the helper's folder goes at the next logon
    Incomplete = 1,  // something could not be removed (or the removal could not start):
                     // the uninstaller stays with its registration, so that it can run again
    Cancelled = 2,   // the user answered No: nothing was removed
    Refused = 3,     // not started as this edition's uninstaller of an installation: nothing
                     // was removed
    RemovedAtNextLogon = 4,  // as Removed, but for empty folders that another program still
                             // holds, or that the system still calls not empty: a RunOnce
                             // value removes each at the user's next logon
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
