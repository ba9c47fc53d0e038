// The uninstaller's command line, in both directions, what becomes of a folder, and the
// report of a run.
#include <gtest/gtest.h>

#include "command_line/command_line.h"
#include "uninstall/folder_fate.h"
#include "uninstall/removal_outcome.h"
#include "uninstall/uninstall_request.h"

namespace {

using Arguments = std::vector<std::wstring>;

std::optional<UninstallRequest> parsed(const Arguments& arguments)
{
    return parseRequest(arguments);
}

TEST(UninstallRequest, UserRunsAreSilentOnlyWithSlashS) {
    ASSERT_TRUE(parsed({}));
    EXPECT_EQ(*parsed({}), UninstallRequest{});
    ASSERT_TRUE(parsed({L"/S"}));
    EXPECT_TRUE(parsed({L"/S"})->silent);
    EXPECT_EQ(parsed({L"/s"})->role, Role::Original);
}

TEST(UninstallRequest, RefusesWhatItDoesNotUnderstand) {
    EXPECT_FALSE(parsed({L"/X"}));
    EXPECT_FALSE(parsed({L"S"}));
    EXPECT_FALSE(parsed({L"/S", L"/S"}));
    EXPECT_FALSE(parsed({L"\x0fS"}));
    EXPECT_FALSE(parsed({L"/helper", L"12", L"16", L"C:\\a\\uninstall.exe"}));
    EXPECT_FALSE(parsed({L"/helper", L"0", L"16", L"20", L"C:\\a\\uninstall.exe"}));
    EXPECT_FALSE(parsed({L"/helper", L"12", L"-16", L"20", L"C:\\a\\uninstall.exe"}));
    EXPECT_FALSE(parsed({L"/helper", L"12", L"16", L"0x14", L"C:\\a\\uninstall.exe"}));
    EXPECT_FALSE(
        parsed({L"/helper", L"12", L"18446744073709551616", L"20", L"C:\\a\\uninstall.exe"}));
    EXPECT_FALSE(parsed({L"/helper", L"12", L"16", L"20", L""}));
    EXPECT_FALSE(parsed({L"/helper", L"12", L"16", L"20", L"C:\\a\\uninstall.exe", L"/helper",
                         L"1", L"2", L"3", L"x"}));
    EXPECT_FALSE(parsed({L"/helper", L"12", L"16", L"20", L"C:\\a\\uninstall.exe", L"extra"}));
}

TEST(UninstallRequest, HelperCommandLineGivesTheRequestBack) {
    const UninstallRequest helper{Role::Helper, true, 18446744073709551615u, 612, 88,
                                  L"C:\\Users\\Ann Lee\\AppData\\Roaming\\Velkaris\\uninstall.exe"};
    const std::wstring line =
        helperCommandLine(L"C:\\Users\\Ann Lee\\Temp\\Velkaris-uninstall-4.exe", helper);
    const Arguments arguments = splitArguments(line);
    EXPECT_EQ(arguments.front(), L"C:\\Users\\Ann Lee\\Temp\\Velkaris-uninstall-4.exe");
    const std::optional<UninstallRequest> back =
        parseRequest(std::span<const std::wstring>(arguments).subspan(1));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, helper);

    UninstallRequest windowed = helper;
    windowed.silent = false;
    const Arguments plain = splitArguments(helperCommandLine(L"C:\\Temp\\h.exe", windowed));
    EXPECT_EQ(parseRequest(std::span<const std::wstring>(plain).subspan(1)), windowed);
}

TEST(RemovalOutcome, ExitCodeAndReportOfACompleteRemoval) {
    RemovalOutcome outcome;
    EXPECT_EQ(exitCodeOf(outcome), ExitCode::Removed);
    EXPECT_EQ(describeOutcome(outcome, L"C:\\Apps\\"),
              L"Velkaris App Pack (Single User) was removed.");
    outcome.folderKept = true;
    outcome.keptPrograms = {L"C:\\Apps\\Brinet.exe", L"C:\\Apps\\Notarel.exe"};
    EXPECT_EQ(exitCodeOf(outcome), ExitCode::Removed);
    const std::wstring text = describeOutcome(outcome, L"C:\\Apps\\");
    EXPECT_EQ(text.find(L"Velkaris App Pack (Single User) was removed."), 0u);
    EXPECT_NE(text.find(L"differ from the ones the pack installed:\r\nC:\\Apps\\Brinet.exe\r\n"
                        L"C:\\Apps\\Notarel.exe\r\n"),
              std::wstring::npos);
    EXPECT_NE(text.find(L"The folder C:\\Apps\\ was kept"), std::wstring::npos);
}

TEST(RemovalOutcome, ReportNamesEveryFailureAndTheKeptUninstaller) {
    RemovalOutcome outcome;
    noteFailure(outcome, L"C:\\Apps\\Notarel.exe", L"Access denied.");
    noteFailure(outcome, L"HKEY_CURRENT_USER\\Software\\Classes\\.ntxt", L"Access denied.");
    outcome.uninstallerKept = true;
    EXPECT_EQ(exitCodeOf(outcome), ExitCode::Incomplete);
    const std::wstring text = describeOutcome(outcome, L"C:\\Apps\\");
    EXPECT_EQ(text.find(L"Velkaris App Pack (Single User) could not be removed completely."), 0u);
    EXPECT_NE(text.find(L"\r\nCould not remove C:\\Apps\\Notarel.exe: Access denied.\r\n"),
              std::wstring::npos);
    EXPECT_NE(
        text.find(
            L"\r\nCould not remove HKEY_CURRENT_USER\\Software\\Classes\\.ntxt: Access denied."),
        std::wstring::npos);
    EXPECT_NE(text.find(L"The uninstaller was kept."), std::wstring::npos);
    EXPECT_EQ(text.find(L"The folder"), std::wstring::npos);
}

TEST(FolderFate, AFolderGoesNowLaterOrStaysForTheUsersFiles) {
    using Paths = std::vector<std::wstring>;
    const Paths deleted = {L"C:\\Apps\\Brinet.exe", L"C:\\Apps\\uninstall.exe"};
    const auto fate = [&](Paths listed, bool heldOpen) {
        return folderFate(FolderState{.listed = std::move(listed), .heldOpen = heldOpen}, deleted);
    };
    EXPECT_EQ(fate({}, false), FolderFate::Removed);
    EXPECT_EQ(fate({}, true), FolderFate::AtNextLogon);
    EXPECT_EQ(fate({L"c:/apps/BRINET.EXE"}, false), FolderFate::AtNextLogon);
    EXPECT_EQ(fate(deleted, true), FolderFate::AtNextLogon);
    EXPECT_EQ(fate({L"C:\\Apps\\Brinet.exe", L"C:\\Apps\\notes.txt"}, false),
              FolderFate::KeptForUser);
    EXPECT_EQ(fate({L"C:\\Apps\\notes.txt"}, true), FolderFate::KeptForUser);
    EXPECT_EQ(folderFate(FolderState{.listed = {L"C:\\Apps\\Brinet.exe"}}, Paths{}),
              FolderFate::KeptForUser);
}

// Windows refuses to delete a read-only folder, or one the user may not delete, now and at
// the next logon alike; a folder that the system still calls not empty when it lists
// nothing is never taken for removed.
TEST(FolderFate, WhatKeepsAnEmptyFolderForGoodAndWhatOnlyDelaysIt) {
    const std::vector<std::wstring> deleted = {L"C:\\Apps\\Brinet.exe"};
    FolderState readOnly{.readOnly = true};
    EXPECT_EQ(folderFate(readOnly, deleted), FolderFate::ReadOnly);
    readOnly.heldOpen = true;
    EXPECT_EQ(folderFate(readOnly, deleted), FolderFate::ReadOnly);
    readOnly.listed = {L"C:\\Apps\\notes.txt"};
    EXPECT_EQ(folderFate(readOnly, deleted), FolderFate::KeptForUser);
    const FolderState denied{.listed = deleted, .deletionDenied = true};
    EXPECT_EQ(folderFate(denied, deleted), FolderFate::DeletionDenied);
    FolderState lagging{.refusedAsNotEmpty = true};
    EXPECT_EQ(folderFate(lagging, deleted), FolderFate::AtNextLogon);
    lagging.listed = {L"C:\\Apps\\Tunewell.exe"};
    EXPECT_EQ(folderFate(lagging, deleted), FolderFate::KeptForUser);
}

TEST(RemovalOutcome, FoldersThatGoAtTheNextLogonHaveTheirOwnExitCodeAndSentence) {
    RemovalOutcome outcome;
    outcome.foldersAtNextLogon = {L"C:\\Apps\\", L"C:\\Menu\\Velkaris\\"};
    EXPECT_EQ(exitCodeOf(outcome), ExitCode::RemovedAtNextLogon);
    EXPECT_EQ(static_cast<int>(ExitCode::RemovedAtNextLogon), 4);
    EXPECT_EQ(describeOutcome(outcome, L"C:\\Apps\\"),
              L"Velkaris App Pack (Single User) was removed.\r\n\r\n"
              L"The folder C:\\Apps\\ is still in use by another program. It will be removed "
              L"the next time you sign in to Windows.\r\n\r\n"
              L"The folder C:\\Menu\\Velkaris\\ is still in use by another program. It will be "
              L"removed the next time you sign in to Windows.");
    noteFailure(outcome, L"HKEY_CURRENT_USER\\Software\\Velkaris", L"Access denied.");
    EXPECT_EQ(exitCodeOf(outcome), ExitCode::Incomplete);
}

}  // namespace
