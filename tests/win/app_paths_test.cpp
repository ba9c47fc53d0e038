#include <gtest/gtest.h>

#include <string>

#include "app/window_geometry.h"
#include "setup/path_helpers.h"
#include "setup/wide_text.h"
#include "wizard/dialog_units.h"

namespace {

std::wstring keyPath(const wchar_t* c1 = nullptr, const wchar_t* c2 = nullptr,
                     const wchar_t* c3 = nullptr, const wchar_t* c4 = nullptr,
                     const wchar_t* c5 = nullptr, const wchar_t* c6 = nullptr) {
    SetupContext setup{};
    const wchar_t* result = buildKeyPath(setup, c1, c2, c3, c4, c5, c6);
    if (result == nullptr) {
        // A refused path leaves no half-built key in scratch.
        EXPECT_EQ(setup.scratch.wide[0], L'\0');
        return L"<none>";
    }
    EXPECT_EQ(result, setup.scratch.wide);
    return result;
}

std::wstring withTrailingBackslash(std::wstring path) {
    wchar_t buffer[FolderFieldUnits] = {};
    path.copy(buffer, path.size());
    ensureTrailingBackslash(buffer);
    return buffer;
}

}  // namespace

TEST(BuildKeyPath, JoinsComponentsBelowSoftwareUpToTheFirstMissingOne) {
    EXPECT_EQ(keyPath(), L"Software");
    EXPECT_EQ(keyPath(L"Velkaris"), L"Software\\Velkaris");
    EXPECT_EQ(keyPath(L"Classes", L".ntxt"), L"Software\\Classes\\.ntxt");
    EXPECT_EQ(keyPath(L"Classes", nullptr, L"ignored"), L"Software\\Classes");
    EXPECT_EQ(keyPath(L"Microsoft", L"Windows", L"CurrentVersion", L"Uninstall", L"Velkaris"),
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris");
    EXPECT_EQ(keyPath(L"Classes", L"SystemFileAssociations", L"audio", L"shell", L"Tunewell",
                      L"command"),
              L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell\\command");
}

TEST(BuildKeyPath, RefusesAPathThatDoesNotFitScratch) {
    const std::wstring fits(255 - 9, L'k');  // "Software\" + 246 units + terminator = 256
    EXPECT_EQ(keyPath(fits.c_str()), L"Software\\" + fits);
    const std::wstring tooLong(fits.size() + 1, L'k');
    EXPECT_EQ(keyPath(tooLong.c_str()), L"<none>");
}

TEST(EnsureTrailingBackslash, EndsThePathInExactlyOneBackslash) {
    EXPECT_EQ(withTrailingBackslash(L""), L"\\");
    EXPECT_EQ(withTrailingBackslash(L"C:\\Apps"), L"C:\\Apps\\");
    EXPECT_EQ(withTrailingBackslash(L"C:\\Apps/"), L"C:\\Apps\\");
    EXPECT_EQ(withTrailingBackslash(L"C:\\Apps\\"), L"C:\\Apps\\");
    EXPECT_EQ(withTrailingBackslash(L"C:\\Apps\\\\"), L"C:\\Apps\\\\");
}

TEST(EnsureTrailingBackslash, LeavesAFullBufferUnchanged) {
    wchar_t buffer[8] = L"C:\\Apps";  // 7 characters: no room for a backslash and terminator
    ensureTrailingBackslash(buffer);
    EXPECT_STREQ(buffer, L"C:\\Apps");
    wchar_t roomy[9] = L"C:\\Apps";
    ensureTrailingBackslash(roomy);
    EXPECT_STREQ(roomy, L"C:\\Apps\\");
    wchar_t slash[8] = L"C:\\App/";  // replacing the last character needs no room
    ensureTrailingBackslash(slash);
    EXPECT_STREQ(slash, L"C:\\App\\");
}

TEST(WideText, CopiesAndAppendsOnlyWhatFitsWhole) {
    wchar_t buffer[6] = L"ab";
    EXPECT_TRUE(appendWide(buffer, L"cde"));
    EXPECT_STREQ(buffer, L"abcde");
    EXPECT_FALSE(appendWide(buffer, L"f"));
    EXPECT_STREQ(buffer, L"abcde");
    EXPECT_FALSE(copyWide(buffer, L"123456"));
    EXPECT_STREQ(buffer, L"abcde");
    EXPECT_TRUE(copyWide(buffer, L"12345"));
    EXPECT_STREQ(buffer, L"12345");
}

TEST(WindowGeometry, CentresOnTheWorkAreaTruncatingTowardZero) {
    const ScreenRect workArea{0, 0, 1280, 770};
    const ScreenPoint inside = centredOrigin({0, 0, 436, 293}, workArea);
    EXPECT_EQ(inside.x, 422);
    EXPECT_EQ(inside.y, 238);
    const ScreenPoint larger = centredOrigin({0, 0, 1285, 775}, workArea);
    EXPECT_EQ(larger.x, -2);
    EXPECT_EQ(larger.y, -2);
    const ScreenPoint offset = centredOrigin({10, 10, 20, 20}, {100, 50, 121, 71});
    EXPECT_EQ(offset.x, 105);
    EXPECT_EQ(offset.y, 55);
}

TEST(WindowGeometry, LicenceInsetFollowsDpiUpToTwenty) {
    EXPECT_EQ(licenceInsetForDpi(96), 5);
    EXPECT_EQ(licenceInsetForDpi(120), 6);
    EXPECT_EQ(licenceInsetForDpi(144), 7);
    EXPECT_EQ(licenceInsetForDpi(192), 10);
    EXPECT_EQ(licenceInsetForDpi(383), 19);
    EXPECT_EQ(licenceInsetForDpi(384), 20);
    EXPECT_EQ(licenceInsetForDpi(400), 20);
    EXPECT_EQ(licenceInsetForDpi(65535), 20);
}
