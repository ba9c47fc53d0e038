#include <gtest/gtest.h>

#include <string>

#include "install/folder_path_kind.h"
#include "install/install_text.h"

TEST(AppendTexts, AppendsAllOrNothing) {
    // Eleven characters and the terminator fill the twelve units exactly.
    wchar_t full[12] = L"C:\\A\\";
    EXPECT_TRUE(appendTexts(full, {L"Tu", L".exe"}));
    EXPECT_STREQ(full, L"C:\\A\\Tu.exe");
    // One more would need a thirteenth unit: nothing is appended, not even the first text.
    wchar_t over[12] = L"C:\\A\\";
    EXPECT_FALSE(appendTexts(over, {L"Tun", L".exe"}));
    EXPECT_STREQ(over, L"C:\\A\\");
}

TEST(AppendTexts, UnterminatedBufferIsLeftAlone) {
    wchar_t buffer[4] = {L'a', L'b', L'c', L'd'};
    EXPECT_FALSE(appendTexts(buffer, {L""}));
    EXPECT_EQ(std::wstring(buffer, 4), L"abcd");
}

TEST(StepStrings, IconCommandAndQuotedPathOfAProgram) {
    const wchar_t* program = L"C:\\Apps\\Velkaris\\Notarel.exe";
    wchar_t icon[StepTextUnits] = {};
    wchar_t command[StepTextUnits] = {};
    wchar_t quoted[StepTextUnits] = {};
    EXPECT_TRUE(buildIconString(icon, program));
    EXPECT_TRUE(buildCommandString(command, program));
    EXPECT_TRUE(buildQuotedPath(quoted, L"C:\\Apps\\Velkaris\\uninstall.exe"));
    EXPECT_STREQ(icon, L"C:\\Apps\\Velkaris\\Notarel.exe,0");
    EXPECT_STREQ(command, L"\"C:\\Apps\\Velkaris\\Notarel.exe\" \"%1\"");
    EXPECT_STREQ(quoted, L"\"C:\\Apps\\Velkaris\\uninstall.exe\"");
    EXPECT_EQ(registryTextBytes(icon), 2 * (wcslen(icon) + 1));
}

TEST(StepStrings, LongestFolderPathStillFitsTheCommandString) {
    const std::wstring program(299, L'p');
    wchar_t command[StepTextUnits] = {};
    EXPECT_TRUE(buildCommandString(command, program.c_str()));
    EXPECT_EQ(wcslen(command), 306u);
}

TEST(StepStrings, RegistryLineNamesTheKeyAndAnyValueThatFits) {
    wchar_t line[RegistryLineUnits];
    buildRegistryLine(line, L"Software\\Classes\\.ntxt", nullptr);
    EXPECT_STREQ(line, L"HKEY_CURRENT_USER\\Software\\Classes\\.ntxt");
    buildRegistryLine(line, L"Software\\Velkaris", L"AppPath");
    EXPECT_STREQ(line, L"HKEY_CURRENT_USER\\Software\\Velkaris (AppPath)");
    // Prefix, key and " (" 43 ")" fill the line to its terminator; one more is left out.
    const std::wstring key(255, L'k');
    buildRegistryLine(line, key.c_str(), std::wstring(43, L'v').c_str());
    EXPECT_EQ(wcslen(line), RegistryLineUnits - 1);
    buildRegistryLine(line, key.c_str(), std::wstring(44, L'v').c_str());
    EXPECT_EQ(std::wstring(line), L"HKEY_CURRENT_USER\\" + key);
}

TEST(StepStrings, InstallDateIsFourDigitsOfTheYearThenTwoOfMonthAndDay) {
    wchar_t date[9];
    buildInstallDate(date, 2024, 3, 7);
    EXPECT_STREQ(date, L"20240307");
    buildInstallDate(date, 987, 12, 31);
    EXPECT_STREQ(date, L"09871231");
}

TEST(StepStrings, ProgressPositionsAndLowerCase) {
    const uint32_t expected[] = {11, 22, 33, 44, 55, 66, 77, 88, 100};
    for (uint32_t index = 0; index < 9; ++index) {
        EXPECT_EQ(progressAfterStep(index), expected[index]) << index;
    }
    EXPECT_EQ(lowerAscii(L'U'), L'u');
    EXPECT_EQ(lowerAscii(L'u'), L'u');
    EXPECT_EQ(lowerAscii(L'\x00C4'), L'\x00C4');
}

TEST(FolderChainRule, KindsByTheFirstTwoCharacters) {
    struct Case {
        const wchar_t* path;
        FolderPathKind kind;
        uint32_t threshold;
        uint32_t lowest;
    };
    const Case cases[] = {
        {L"", FolderPathKind::Empty, 0, 0},
        {L"\\\\server\\share\\", FolderPathKind::Network, 4, 5},
        {L"//server/share/", FolderPathKind::Network, 4, 5},
        {L"\\/x", FolderPathKind::Network, 4, 5},
        {L"\\data\\", FolderPathKind::Rooted, 2, 2},
        {L"/data/", FolderPathKind::Rooted, 2, 2},
        {L"C:\\Apps\\", FolderPathKind::Drive, 2, 4},
        {L"1:\\Apps\\", FolderPathKind::Drive, 2, 4},
        {L"data\\sub\\", FolderPathKind::Relative, 1, 1},
        {L"d", FolderPathKind::Relative, 1, 1},
    };
    for (const Case& c : cases) {
        const FolderChainRule rule = folderChainRule(c.path);
        EXPECT_EQ(rule.kind, c.kind) << std::wstring(c.path).size();
        EXPECT_EQ(rule.separatorThreshold, c.threshold);
        EXPECT_EQ(rule.lowestPosition, c.lowest);
    }
}
