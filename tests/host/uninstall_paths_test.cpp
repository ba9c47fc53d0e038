// Whether a path, folder or command from the registry or a shortcut belongs to the
// installation folder; the command that removes a folder at the next logon.
#include <gtest/gtest.h>

#include "uninstall/command_paths.h"
#include "uninstall/logon_command.h"

namespace {

TEST(UninstallPaths, ComparePathsWithoutCaseAndSeparatorDifferences) {
    EXPECT_TRUE(samePath(L"C:\\Apps\\Velkaris\\uninstall.exe", L"c:/apps/VELKARIS/Uninstall.EXE"));
    EXPECT_FALSE(
        samePath(L"C:\\Apps\\Velkaris\\uninstall.exe", L"C:\\Apps\\Velkaris\\uninstall.ex"));
    EXPECT_FALSE(samePath(L"C:\\Apps\\Velkaris", L"C:\\Apps\\Velkaris\\"));
    EXPECT_FALSE(samePath(L"C:\\Apps\\\u00C9t\u00E9", L"C:\\Apps\\\u00E9t\u00E9"));
    EXPECT_TRUE(samePath(L"", L""));
}

TEST(UninstallPaths, CompareFoldersWithOrWithoutTheirTrailingSeparator) {
    EXPECT_TRUE(sameFolder(L"C:\\Apps\\Velkaris\\", L"C:\\apps\\velkaris"));
    EXPECT_TRUE(sameFolder(L"C:\\Apps\\Velkaris/", L"C:\\Apps\\Velkaris\\"));
    EXPECT_TRUE(sameFolder(L"D:\\", L"d:\\"));
    EXPECT_FALSE(sameFolder(L"C:\\Apps\\Velkaris\\Sub\\", L"C:\\Apps\\Velkaris\\"));
    EXPECT_FALSE(sameFolder(L"C:\\Apps\\Velkaris\\\\", L"C:\\Apps\\Velkaris\\"));
    EXPECT_FALSE(sameFolder(L"", L""));
    EXPECT_FALSE(sameFolder(L"\\", L""));
}

TEST(UninstallPaths, FolderAndParentOfAPathEndWithTheirLastSeparator) {
    EXPECT_EQ(folderOf(L"C:\\Apps\\Velkaris\\Notarel.exe"), L"C:\\Apps\\Velkaris\\");
    EXPECT_EQ(folderOf(L"C:/Apps/Notarel.exe"), L"C:/Apps/");
    EXPECT_EQ(folderOf(L"C:\\Apps\\"), L"C:\\Apps\\");
    EXPECT_EQ(folderOf(L"Notarel.exe"), L"");
    EXPECT_EQ(parentOf(L"D:\\Apps\\Velkaris\\"), L"D:\\Apps\\");
    EXPECT_EQ(parentOf(L"D:\\Apps\\Velkaris"), L"D:\\Apps\\");
    EXPECT_EQ(parentOf(L"D:\\"), L"");
}

TEST(UninstallPaths, CommandProgramIsTheQuotedOrFirstWord) {
    EXPECT_EQ(commandProgram(L"\"C:\\My Apps\\Notarel.exe\" \"%1\""), L"C:\\My Apps\\Notarel.exe");
    EXPECT_EQ(commandProgram(L"C:\\Apps\\uninstall.exe /S"), L"C:\\Apps\\uninstall.exe");
    EXPECT_EQ(commandProgram(L"C:\\My Apps\\Notarel.exe %1"), L"C:\\My");
    EXPECT_EQ(commandProgram(L""), L"");
}

TEST(UninstallPaths, CommandRunsFromTheFolderOnlyWhenItsProgramLiesDirectlyInIt) {
    const std::wstring_view folder = L"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\\";
    EXPECT_TRUE(commandRunsFrom(
        L"\"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\\Notarel.exe\" \"%1\"", folder));
    EXPECT_TRUE(
        commandRunsFrom(L"c:\\users\\ann\\appdata\\roaming\\velkaris\\Tunewell.exe %1", folder));
    EXPECT_FALSE(commandRunsFrom(
        L"\"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\\bin\\Notarel.exe\" \"%1\"", folder));
    EXPECT_FALSE(commandRunsFrom(
        L"\"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris2\\Notarel.exe\" \"%1\"", folder));
    EXPECT_FALSE(commandRunsFrom(L"\"C:\\Other\\Editor.exe\" \"%1\"", folder));
    EXPECT_FALSE(commandRunsFrom(L"Notarel.exe \"%1\"", folder));
    EXPECT_FALSE(commandRunsFrom(L"", folder));
    EXPECT_FALSE(commandRunsFrom(L"\"C:\\Other\\Editor.exe\" \"%1\"", L""));
}

// cmd keeps what stands between quotes literal, but expands %NAME% anywhere when NAME is
// set: after every % a quote ends one part and opens the next, so no name can follow.
TEST(UninstallLogonCommand, QuotesAPathForCmdWithEveryPercentOutOfReachOfExpansion) {
    EXPECT_EQ(cmdArgument(L"C:\\Users\\Ann Lee\\Velkaris"), L"\"C:\\Users\\Ann Lee\\Velkaris\"");
    EXPECT_EQ(cmdArgument(L"C:\\R&D (old)^!|<x>"), L"\"C:\\R&D (old)^!|<x>\"");
    EXPECT_EQ(cmdArgument(L"C:\\x%USERNAME%y"), L"\"C:\\x%\"\"USERNAME%\"\"y\"");
    EXPECT_EQ(cmdArgument(L"C:\\a%%b"), L"\"C:\\a%\"\"%\"\"b\"");
    EXPECT_EQ(cmdArgument(L"C:\\100%"), L"\"C:\\100%\"");
    EXPECT_EQ(cmdArgument(L""), L"\"\"");
}

TEST(UninstallLogonCommand, RemovesAnEmptyFolderOrTheHelpersWholeFolder) {
    const std::wstring_view system = L"C:\\Windows\\system32";
    EXPECT_EQ(folderRemovalCommand(system, L"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\\",
                                   FolderRemoval::IfEmpty),
              L"\"C:\\Windows\\system32\\cmd.exe\" /d /v:off /c rd "
              L"\"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\"");
    EXPECT_EQ(folderRemovalCommand(system, L"C:\\Temp\\Velkaris-uninstall-0123456789abcdef",
                                   FolderRemoval::WithContents),
              L"\"C:\\Windows\\system32\\cmd.exe\" /d /v:off /c rd /s /q "
              L"\"C:\\Temp\\Velkaris-uninstall-0123456789abcdef\"");
    EXPECT_EQ(folderRemovalCommand(L"C:\\W%x%", L"C:\\%x%", FolderRemoval::IfEmpty),
              L"\"C:\\W%x%\\cmd.exe\" /d /v:off /c rd \"C:\\%\"\"x%\"");
}

TEST(UninstallLogonCommand, RefusesACommandLongerThanARunOnceValueHolds) {
    const std::wstring_view system = L"C:\\Windows\\system32";
    const size_t frame = folderRemovalCommand(system, L"", FolderRemoval::IfEmpty)->size();
    const std::wstring longest(RunOnceCommandLimit - frame, L'v');
    ASSERT_TRUE(folderRemovalCommand(system, longest, FolderRemoval::IfEmpty));
    EXPECT_EQ(folderRemovalCommand(system, longest, FolderRemoval::IfEmpty)->size(),
              RunOnceCommandLimit);
    EXPECT_FALSE(folderRemovalCommand(system, longest + L"v", FolderRemoval::IfEmpty));
    EXPECT_TRUE(folderRemovalCommand(system, longest + L"\\", FolderRemoval::IfEmpty));
}

}  // namespace
