#include "uninstall/removal_outcome.h"

#include <utility>

void noteFailure(RemovalOutcome& outcome, std::wstring_view what, std::wstring_view reason)
{
    std::wstring sentence = L"Could not remove ";
    sentence += what;
    sentence += L": ";
    sentence += reason;
    outcome.failures.push_back(std::move(sentence));
}

ExitCode exitCodeOf(const RemovalOutcome& outcome)
{
    if (!outcome.failures.empty()) {
        return ExitCode::Incomplete;
    }
    return outcome.foldersAtNextLogon.empty() ? ExitCode::Removed : ExitCode::RemovedAtNextLogon;
}

std::wstring describeOutcome(const RemovalOutcome& outcome, std::wstring_view folder)
{
    std::wstring text(ProductName);
    if (outcome.failures.empty()) {
        text += L" was removed.";
    } else {
        text += L" could not be removed completely.\r\n";
        for (const std::wstring& failure : outcome.failures) {
            text += L"\r\n";
            text += failure;
        }
    }
    if (outcome.uninstallerKept) {
        text += L"\r\n\r\nThe uninstaller was kept. Close the programs that use these files "
                L"and run it again.";
    }
    if (!outcome.keptPrograms.empty()) {
        text += L"\r\n\r\nPrograms kept because they differ from the ones the pack installed:";
        for (const std::wstring& program : outcome.keptPrograms) {
            text += L"\r\n";
            text += program;
        }
    }
    if (outcome.folderKept) {
        text += L"\r\n\r\nThe folder ";
        text += folder;
        text += L" was kept because it holds files that were not installed with the pack.";
    }
    for (const std::wstring& kept : outcome.foldersAtNextLogon) {
        text += L"\r\n\r\nThe folder ";
        text += kept;
        text += L" is still in use by another program. It will be removed the next time you "
                L"sign in to Windows.";
    }
    return text;
}
