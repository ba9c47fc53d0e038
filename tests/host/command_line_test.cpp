// The Windows command lines of the pack's programs: the one argument of the sample
// applications, and the splitting and quoting that the uninstaller uses to hand arguments
// to its helper.
#include <gtest/gtest.h>

#include "command_line/command_line.h"

namespace {

using Arguments = std::vector<std::wstring>;

TEST(ProgramArgument, TakesTheTextAfterTheProgramName) {
    EXPECT_EQ(programArgument(L"\"C:\\Apps\\Notarel.exe\" \"C:\\My Files\\a.ntxt\""),
              L"C:\\My Files\\a.ntxt");
    EXPECT_EQ(programArgument(L"Notarel.exe C:\\My Files\\a.ntxt  "), L"C:\\My Files\\a.ntxt");
    EXPECT_EQ(programArgument(L"  Notarel.exe\t\"C:\\Data\\\""), L"C:\\Data\\");
    EXPECT_EQ(programArgument(L"Notarel.exe \"C:\\Data\\\\\""), L"C:\\Data\\");
}

TEST(ProgramArgument, IsEmptyWithoutAnArgument) {
    EXPECT_EQ(programArgument(L""), L"");
    EXPECT_EQ(programArgument(L"Notarel.exe"), L"");
    EXPECT_EQ(programArgument(L"\"C:\\My Apps\\Notarel.exe\"   "), L"");
    EXPECT_EQ(programArgument(L"\"C:\\unterminated name.exe a"), L"");
}

TEST(SplitArguments, TakesTheProgramNameWithoutEscapes) {
    EXPECT_EQ(splitArguments(L"\"C:\\My Apps\\\\x.exe\" /S"),
              (Arguments{L"C:\\My Apps\\\\x.exe", L"/S"}));
    EXPECT_EQ(splitArguments(L"  C:\\Apps\\x.exe"), (Arguments{L"C:\\Apps\\x.exe"}));
    EXPECT_EQ(splitArguments(L""), (Arguments{L""}));
    EXPECT_EQ(splitArguments(L"\"C:\\open ended"), (Arguments{L"C:\\open ended"}));
}

TEST(SplitArguments, FollowsTheBackslashAndQuoteRules) {
    EXPECT_EQ(splitArguments(L"x a\\\\\\b \"c d\" e\"f g\"h"),
              (Arguments{L"x", L"a\\\\\\b", L"c d", L"ef gh"}));
    EXPECT_EQ(splitArguments(L"x \"C:\\Data\\\\\" next"),
              (Arguments{L"x", L"C:\\Data\\", L"next"}));
    EXPECT_EQ(splitArguments(L"x a\\\"b \\\\\\\"c"), (Arguments{L"x", L"a\"b", L"\\\"c"}));
    EXPECT_EQ(splitArguments(L"x \"say \"\"hi\"\"\" \"\""), (Arguments{L"x", L"say \"hi\"", L""}));
    EXPECT_EQ(splitArguments(L"x\t a \t\tb  "), (Arguments{L"x", L"a", L"b"}));
    EXPECT_EQ(splitArguments(L"x \"open to the end"), (Arguments{L"x", L"open to the end"}));
}

TEST(QuoteArgument, LeavesPlainArgumentsAlone) {
    EXPECT_EQ(quoteArgument(L"/S"), L"/S");
    EXPECT_EQ(quoteArgument(L"C:\\Apps\\"), L"C:\\Apps\\");
    EXPECT_EQ(quoteArgument(L""), L"\"\"");
    EXPECT_EQ(quoteArgument(L"C:\\My Apps\\"), L"\"C:\\My Apps\\\\\"");
}

TEST(QuoteArgument, GivesEveryArgumentBackThroughSplitArguments) {
    const Arguments arguments{L"C:\\My Apps\\", L"a\"b", L"\\\\server\\share dir\\\\",
                              L"tab\there", L"", L"\\\"", L"end\\", L"x \\\" y"};
    std::wstring line = L"\"C:\\Temp\\helper copy.exe\"";
    for (const std::wstring& argument : arguments) {
        line += L' ';
        line += quoteArgument(argument);
    }
    Arguments expected{L"C:\\Temp\\helper copy.exe"};
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(splitArguments(line), expected);
}

}  // namespace
