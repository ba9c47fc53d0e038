// The registry plan: what an installation wrote is removed, children before the keys above
// them, and whatever another program or installation took over is left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "uninstall/removal_plan.h"

namespace {

using Steps = std::vector<RegistryStep>;
constexpr auto Tree = RegistryAction::DeleteTree;
constexpr auto Value = RegistryAction::DeleteValue;
constexpr auto IfEmpty = RegistryAction::DeleteKeyIfEmpty;

const std::wstring Folder = L"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris\\";
const Installation Here{Folder, Folder + L"uninstall.exe"};
const std::wstring UninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris";

class FakeRegistry final : public RegistryReader {
public:
    std::optional<std::wstring> readText(std::wstring_view key,
                                         std::wstring_view value) const override
    {
        const auto found = values.find({std::wstring(key), std::wstring(value)});
        return found == values.end() ? std::nullopt : std::optional<std::wstring>(found->second);
    }

    void set(const std::wstring& key, const std::wstring& value, const std::wstring& text)
    {
        values[{key, value}] = text;
    }

    void erase(const std::wstring& key, const std::wstring& value) { values.erase({key, value}); }

    std::map<std::pair<std::wstring, std::wstring>, std::wstring> values;
};

std::wstring command(const std::wstring& folder, const wchar_t* name)
{
    return L"\"" + folder + name + L".exe\" \"%1\"";
}

// The values the installer writes for every application and its registration.
FakeRegistry installedIn(const std::wstring& folder)
{
    FakeRegistry registry;
    const std::wstring classes = L"Software\\Classes\\";
    for (const wchar_t* verb :
         {L"Directory\\shell\\Tunewell", L"SystemFileAssociations\\audio\\shell\\Tunewell"}) {
        registry.set(classes + verb, L"", L"Play with Tunewell");
        registry.set(classes + verb + L"\\command", L"", command(folder, L"Tunewell"));
    }
    const std::pair<const wchar_t*, const wchar_t*> types[] = {
        {L".ntxt", L"Notarel.Document"}, {L".lbx", L"LockBin.File"}, {L".pkr", L"Packrill.File"}};
    const wchar_t* programs[] = {L"Notarel", L"LockBin", L"Packrill"};
    for (size_t i = 0; i < 3; ++i) {
        const std::wstring progId = classes + types[i].second;
        registry.set(classes + types[i].first, L"", types[i].second);
        registry.set(progId, L"", L"Description");
        registry.set(progId + L"\\DefaultIcon", L"", folder + programs[i] + L".exe,0");
        registry.set(progId + L"\\shell", L"", L"open");
        registry.set(progId + L"\\shell\\open\\command", L"", command(folder, programs[i]));
    }
    registry.set(L"Software\\Velkaris", L"AppPath", folder);
    registry.set(UninstallKey, L"UninstallString", L"\"" + folder + L"uninstall.exe\"");
    registry.set(UninstallKey, L"DisplayName", L"Velkaris App Pack (Single User)");
    return registry;
}

const Steps EveryFileType = {
    {Tree, L"Software\\Classes\\Directory\\shell\\Tunewell", L""},
    {IfEmpty, L"Software\\Classes\\Directory\\shell", L""},
    {IfEmpty, L"Software\\Classes\\Directory", L""},
    {Tree, L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell", L""},
    {IfEmpty, L"Software\\Classes\\SystemFileAssociations\\audio\\shell", L""},
    {IfEmpty, L"Software\\Classes\\SystemFileAssociations\\audio", L""},
    {IfEmpty, L"Software\\Classes\\SystemFileAssociations", L""},
    {Tree, L"Software\\Classes\\Notarel.Document", L""},
    {Value, L"Software\\Classes\\.ntxt", L""},
    {IfEmpty, L"Software\\Classes\\.ntxt", L""},
    {Tree, L"Software\\Classes\\LockBin.File", L""},
    {Value, L"Software\\Classes\\.lbx", L""},
    {IfEmpty, L"Software\\Classes\\.lbx", L""},
    {Tree, L"Software\\Classes\\Packrill.File", L""},
    {Value, L"Software\\Classes\\.pkr", L""},
    {IfEmpty, L"Software\\Classes\\.pkr", L""},
    {IfEmpty, L"Software\\Classes", L""},
};

const Steps FullRegistration = {
    {Tree, UninstallKey, L""},
    {IfEmpty, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L""},
    {Value, L"Software\\Velkaris", L"AppPath"},
    {IfEmpty, L"Software\\Velkaris", L""},
};

TEST(UninstallPlan, RemovesEverythingAnInstallationWroteChildrenFirst) {
    const FakeRegistry registry = installedIn(Folder);
    EXPECT_EQ(planFileTypes(registry, Here), EveryFileType);
    EXPECT_EQ(planRegistration(registry, Here), FullRegistration);
    EXPECT_TRUE(isInstalledHere(registry, Here));
}

TEST(UninstallPlan, MatchesTheFolderWithoutRegardToCaseOrTrailingSeparator) {
    const FakeRegistry registry = installedIn(L"c:\\users\\ann\\appdata\\roaming\\velkaris\\");
    EXPECT_EQ(planFileTypes(registry, Here), EveryFileType);
    FakeRegistry noSeparator = installedIn(Folder);
    noSeparator.set(L"Software\\Velkaris", L"AppPath",
                    L"C:\\Users\\Ann\\AppData\\Roaming\\Velkaris");
    EXPECT_EQ(planRegistration(noSeparator, Here), FullRegistration);
}

TEST(UninstallPlan, LeavesAnExtensionThatNamesAnotherProgIdButRemovesOurProgId) {
    FakeRegistry registry = installedIn(Folder);
    registry.set(L"Software\\Classes\\.ntxt", L"", L"OtherEditor.Text");
    const Steps steps = planFileTypes(registry, Here);
    EXPECT_NE(std::find(steps.begin(), steps.end(),
                        RegistryStep{Tree, L"Software\\Classes\\Notarel.Document", L""}),
              steps.end());
    for (const RegistryStep& step : steps) {
        EXPECT_NE(step.key, L"Software\\Classes\\.ntxt");
    }
    EXPECT_EQ(steps.size(), EveryFileType.size() - 2);
}

TEST(UninstallPlan, LeavesAFileTypeWhoseProgIdStartsAnotherProgram) {
    FakeRegistry registry = installedIn(Folder);
    registry.set(L"Software\\Classes\\Packrill.File\\shell\\open\\command", L"",
                 L"\"C:\\Program Files\\Archiver\\arc.exe\" \"%1\"");
    registry.erase(L"Software\\Classes\\LockBin.File\\shell\\open\\command", L"");
    const Steps steps = planFileTypes(registry, Here);
    for (const RegistryStep& step : steps) {
        EXPECT_EQ(step.key.find(L"Packrill"), std::wstring::npos);
        EXPECT_EQ(step.key.find(L".pkr"), std::wstring::npos);
        EXPECT_EQ(step.key.find(L"LockBin"), std::wstring::npos);
        EXPECT_EQ(step.key.find(L".lbx"), std::wstring::npos);
    }
    EXPECT_EQ(steps.size(), EveryFileType.size() - 6);
}

TEST(UninstallPlan, LeavesVerbsAndTypesOfAnotherInstallationFolder) {
    const FakeRegistry elsewhere = installedIn(L"D:\\Velkaris\\");
    EXPECT_TRUE(planFileTypes(elsewhere, Here).empty());
    EXPECT_TRUE(planRegistration(elsewhere, Here).empty());
    EXPECT_FALSE(isInstalledHere(elsewhere, Here));
    EXPECT_TRUE(planFileTypes(FakeRegistry{}, Here).empty());
    EXPECT_TRUE(planRegistration(FakeRegistry{}, Here).empty());
}

TEST(UninstallPlan, RemovesOnlyTheVerbThatStillStartsTunewellHere) {
    FakeRegistry registry = installedIn(Folder);
    registry.set(L"Software\\Classes\\Directory\\shell\\Tunewell\\command", L"",
                 L"\"C:\\Players\\Tunewell.exe\" \"%1\"");
    const Steps steps = planFileTypes(registry, Here);
    EXPECT_EQ(Steps(steps.begin(), steps.begin() + 4),
              Steps(EveryFileType.begin() + 3, EveryFileType.begin() + 7));
    EXPECT_EQ(steps.size(), EveryFileType.size() - 3);
}

TEST(UninstallPlan, KeepsARegistrationOrAppPathThatNamesAnotherInstallation) {
    FakeRegistry registry = installedIn(Folder);
    registry.set(UninstallKey, L"UninstallString", L"\"D:\\Velkaris\\uninstall.exe\"");
    EXPECT_EQ(planRegistration(registry, Here),
              Steps(FullRegistration.begin() + 2, FullRegistration.end()));
    EXPECT_TRUE(isInstalledHere(registry, Here));

    registry.set(L"Software\\Velkaris", L"AppPath", L"D:\\Velkaris\\");
    EXPECT_TRUE(planRegistration(registry, Here).empty());
    EXPECT_FALSE(isInstalledHere(registry, Here));
}

TEST(UninstallPlan, AnInstallationIsRecognisedByEitherValue) {
    FakeRegistry registry = installedIn(Folder);
    registry.erase(L"Software\\Velkaris", L"AppPath");
    EXPECT_TRUE(isInstalledHere(registry, Here));
    EXPECT_EQ(planRegistration(registry, Here),
              Steps(FullRegistration.begin(), FullRegistration.begin() + 2));

    registry.set(UninstallKey, L"UninstallString", Folder + L"uninstall.exe");
    EXPECT_TRUE(isInstalledHere(registry, Here));
    registry.set(UninstallKey, L"UninstallString", L"\"" + Folder + L"Brinet.exe\"");
    EXPECT_FALSE(isInstalledHere(registry, Here));
}

}  // namespace
