// Whether a path, folder or command from the registry or a shortcut belongs to the
// installation folder.
#include <gtest/gtest.h>

#include "uninstall/command_paths.h"

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

TEST(UninstallPaths, FolderOfAPathEndsWithItsLastSeparator) {
    EXPECT_EQ(folderOf(L"C:\\Apps\\Velkaris\\Notarel.exe"), L"C:\\Apps\\Velkaris\\");
    EXPECT_EQ(folderOf(L"C:/Apps/Notarel.exe"), L"C:/Apps/");
    EXPECT_EQ(folderOf(L"C:\\Apps\\"), L"C:\\Apps\\");
    EXPECT_EQ(folderOf(L"Notarel.exe"), L"");
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

}  // namespace
