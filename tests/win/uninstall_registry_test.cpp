// The uninstaller's registry edge: values read as the plan needs them, each kind of step
// carried out, and a whole plan over the values an installation wrote, next to keys of
// other programs that must stay.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/win/test_cleanup.h"
#include "uninstall/registry_removal.h"

namespace {

// The tests' own keys, the neighbours they make, and what the plan removes.
const bool keysRemoved = keysRemovedAfterTheTests(
    {L"Software\\VelkarisUninstallTest", L"Software\\Classes\\Directory\\shell\\Browse",
     L"Software\\Classes\\Directory\\shell\\Tunewell",
     L"Software\\Classes\\SystemFileAssociations\\audio\\shell\\Tunewell",
     L"Software\\Classes\\.ntxt", L"Software\\Classes\\.lbx", L"Software\\Classes\\.pkr",
     L"Software\\Classes\\Notarel.Document", L"Software\\Classes\\LockBin.File",
     L"Software\\Classes\\Packrill.File"});

const std::wstring Folder = L"C:\\Apps\\Velkaris\\";

void setText(const std::wstring& key, const wchar_t* value, const std::wstring& text,
             DWORD type = REG_SZ)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value, type, text.c_str(),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

bool keyExists(const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

void createKey(const std::wstring& key)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(handle);
}

std::wstring command(const wchar_t* program) { return L"\"" + Folder + program + L".exe\" \"%1\""; }

TEST(UninstallRegistry, ReadsTextValuesOnly) {
    const std::wstring key = L"Software\\VelkarisUninstallTest\\Read";
    setText(key, nullptr, L"Notarel.Document");
    setText(key, L"Expandable", L"%TEMP%\\x", REG_EXPAND_SZ);
    setText(key, L"Empty", L"");
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Number", REG_DWORD, &number, sizeof(number));

    const UserRegistry registry;
    EXPECT_EQ(registry.readText(key, L""), L"Notarel.Document");
    EXPECT_EQ(registry.readText(key, L"Expandable"), L"%TEMP%\\x");
    EXPECT_EQ(registry.readText(key, L"Empty"), L"");
    EXPECT_EQ(registry.readText(key, L"Number"), std::nullopt);
    EXPECT_EQ(registry.readText(key, L"Missing"), std::nullopt);
    EXPECT_EQ(registry.readText(key + L"\\Missing", L""), std::nullopt);
}

TEST(UninstallRegistry, CarriesOutEachKindOfStepAndCountsMissingAsRemoved) {
    const std::wstring base = L"Software\\VelkarisUninstallTest\\Steps";
    setText(base + L"\\Tree\\Sub\\Deeper", nullptr, L"x");
    setText(base + L"\\Values", nullptr, L"default");
    setText(base + L"\\Values", L"Named", L"named");
    setText(base + L"\\Values", L"Other", L"other");
    createKey(base + L"\\Empty");
    setText(base + L"\\HasSubkey\\Child", L"Keep", L"k");

    RemovalOutcome outcome;
    applyRegistrySteps({{RegistryAction::DeleteTree, base + L"\\Tree", L""},
                        {RegistryAction::DeleteValue, base + L"\\Values", L""},
                        {RegistryAction::DeleteValue, base + L"\\Values", L"Named"},
                        {RegistryAction::DeleteKeyIfEmpty, base + L"\\Values", L""},
                        {RegistryAction::DeleteKeyIfEmpty, base + L"\\Empty", L""},
                        {RegistryAction::DeleteKeyIfEmpty, base + L"\\HasSubkey", L""},
                        {RegistryAction::DeleteTree, base + L"\\Missing", L""},
                        {RegistryAction::DeleteValue, base + L"\\Missing", L"Named"},
                        {RegistryAction::DeleteValue, base + L"\\Values", L"Missing"},
                        {RegistryAction::DeleteKeyIfEmpty, base + L"\\Missing", L""}},
                       outcome);
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(keyExists(base + L"\\Tree"));
    const UserRegistry registry;
    EXPECT_EQ(registry.readText(base + L"\\Values", L""), std::nullopt);
    EXPECT_EQ(registry.readText(base + L"\\Values", L"Named"), std::nullopt);
    EXPECT_EQ(registry.readText(base + L"\\Values", L"Other"), L"other");
    EXPECT_FALSE(keyExists(base + L"\\Empty"));
    EXPECT_TRUE(keyExists(base + L"\\HasSubkey\\Child"));
}

// The values the installer writes for the four applications with file types or verbs.
void writeInstalledTypes()
{
    const std::wstring classes = L"Software\\Classes\\";
    for (const wchar_t* verb :
         {L"Directory\\shell\\Tunewell", L"SystemFileAssociations\\audio\\shell\\Tunewell"}) {
        setText(classes + verb, nullptr, L"Play with Tunewell");
        setText(classes + verb + L"\\command", nullptr, command(L"Tunewell"));
    }
    const wchar_t* types[][3] = {{L".ntxt", L"Notarel.Document", L"Notarel"},
                                 {L".lbx", L"LockBin.File", L"LockBin"},
                                 {L".pkr", L"Packrill.File", L"Packrill"}};
    for (const auto& type : types) {
        const std::wstring progId = classes + type[1];
        setText(classes + type[0], nullptr, type[1]);
        setText(progId, nullptr, L"Description");
        setText(progId + L"\\DefaultIcon", nullptr, Folder + type[2] + L".exe,0");
        setText(progId + L"\\shell", nullptr, L"open");
        setText(progId + L"\\shell\\open\\command", nullptr, command(type[2]));
    }
}

TEST(UninstallRegistry, PlanRemovesTheInstalledTypesAndEmptyParentsButNotTheNeighbours) {
    writeInstalledTypes();
    setText(L"Software\\Classes\\Directory\\shell\\Browse", nullptr,
            L"Browse with another program");
    setText(L"Software\\Classes\\.pkr\\OpenWithProgids", L"Archiver.File", L"");

    const UserRegistry registry;
    RemovalOutcome outcome;
    applyRegistrySteps(planFileTypes(registry, {Folder, Folder + L"uninstall.exe"}), outcome);
    EXPECT_TRUE(outcome.failures.empty());
    for (const wchar_t* key : {L"Directory\\shell\\Tunewell", L"SystemFileAssociations", L".ntxt",
                               L"Notarel.Document", L".lbx", L"LockBin.File", L"Packrill.File"}) {
        EXPECT_FALSE(keyExists(std::wstring(L"Software\\Classes\\") + key)) << key;
    }
    EXPECT_TRUE(keyExists(L"Software\\Classes\\Directory\\shell\\Browse"));
    EXPECT_EQ(registry.readText(L"Software\\Classes\\.pkr", L""), std::nullopt);
    EXPECT_TRUE(keyExists(L"Software\\Classes\\.pkr\\OpenWithProgids"));
    EXPECT_TRUE(planFileTypes(registry, {Folder, Folder + L"uninstall.exe"}).empty());
}

}  // namespace
