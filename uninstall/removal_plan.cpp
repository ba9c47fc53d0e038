#include "uninstall/removal_plan.h"

#include "uninstall/command_paths.h"

namespace {

constexpr std::wstring_view Classes = L"Software\\Classes";
constexpr std::wstring_view AppKey = L"Software\\Velkaris";
constexpr std::wstring_view AppPathValue = L"AppPath";
constexpr std::wstring_view UninstallList =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::wstring_view UninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris";

// A shell verb: the key below Classes that holds it, and the keys between Classes and
// that key, innermost first, which the installation may have created.
struct VerbKey {
    std::wstring_view key;
    std::array<std::wstring_view, 3> parents;
};

constexpr std::array<VerbKey, 2> TunewellVerbs = {{
    {L"Directory\\shell\\Tunewell", {L"Directory\\shell", L"Directory", {}}},
    {L"SystemFileAssociations\\audio\\shell\\Tunewell",
     {L"SystemFileAssociations\\audio\\shell", L"SystemFileAssociations\\audio",
      L"SystemFileAssociations"}},
}};

struct FileType {
    std::wstring_view extension;
    std::wstring_view progId;
};

constexpr std::array<FileType, 3> FileTypes = {{
    {L".ntxt", L"Notarel.Document"},
    {L".lbx", L"LockBin.File"},
    {L".pkr", L"Packrill.File"},
}};

std::wstring classesKey(std::wstring_view below)
{
    std::wstring key(Classes);
    key += L'\\';
    key += below;
    return key;
}

bool commandInFolder(const RegistryReader& registry, const std::wstring& commandKey,
                     const Installation& installation)
{
    const std::optional<std::wstring> command = registry.readText(commandKey, L"");
    return command && commandRunsFrom(*command, installation.folder);
}

void addVerbSteps(const RegistryReader& registry, const Installation& installation,
                  std::vector<RegistryStep>& steps)
{
    for (const VerbKey& verb : TunewellVerbs) {
        const std::wstring key = classesKey(verb.key);
        if (!commandInFolder(registry, key + L"\\command", installation)) {
            continue;
        }
        steps.push_back({RegistryAction::DeleteTree, key, {}});
        for (const std::wstring_view parent : verb.parents) {
            if (!parent.empty()) {
                steps.push_back({RegistryAction::DeleteKeyIfEmpty, classesKey(parent), {}});
            }
        }
    }
}

void addFileTypeSteps(const RegistryReader& registry, const Installation& installation,
                      std::vector<RegistryStep>& steps)
{
    for (const FileType& type : FileTypes) {
        const std::wstring progIdKey = classesKey(type.progId);
        if (!commandInFolder(registry, progIdKey + L"\\shell\\open\\command", installation)) {
            continue;
        }
        steps.push_back({RegistryAction::DeleteTree, progIdKey, {}});
        const std::wstring extensionKey = classesKey(type.extension);
        const std::optional<std::wstring> progId = registry.readText(extensionKey, L"");
        if (progId && samePath(*progId, type.progId)) {
            steps.push_back({RegistryAction::DeleteValue, extensionKey, {}});
            steps.push_back({RegistryAction::DeleteKeyIfEmpty, extensionKey, {}});
        }
    }
}

}  // namespace

bool isInstalledHere(const RegistryReader& registry, const Installation& installation)
{
    const std::optional<std::wstring> appPath = registry.readText(AppKey, AppPathValue);
    if (appPath && sameFolder(*appPath, installation.folder)) {
        return true;
    }
    const std::optional<std::wstring> command = registry.readText(UninstallKey, L"UninstallString");
    return command && samePath(commandProgram(*command), installation.uninstaller);
}

std::vector<RegistryStep> planFileTypes(const RegistryReader& registry,
                                        const Installation& installation)
{
    std::vector<RegistryStep> steps;
    addVerbSteps(registry, installation, steps);
    addFileTypeSteps(registry, installation, steps);
    if (!steps.empty()) {
        steps.push_back({RegistryAction::DeleteKeyIfEmpty, std::wstring(Classes), {}});
    }
    return steps;
}

std::vector<RegistryStep> planRegistration(const RegistryReader& registry,
                                           const Installation& installation)
{
    std::vector<RegistryStep> steps;
    const std::optional<std::wstring> command = registry.readText(UninstallKey, L"UninstallString");
    if (command && samePath(commandProgram(*command), installation.uninstaller)) {
        steps.push_back({RegistryAction::DeleteTree, std::wstring(UninstallKey), {}});
        steps.push_back({RegistryAction::DeleteKeyIfEmpty, std::wstring(UninstallList), {}});
    }
    const std::optional<std::wstring> appPath = registry.readText(AppKey, AppPathValue);
    if (appPath && sameFolder(*appPath, installation.folder)) {
        steps.push_back(
            {RegistryAction::DeleteValue, std::wstring(AppKey), std::wstring(AppPathValue)});
        steps.push_back({RegistryAction::DeleteKeyIfEmpty, std::wstring(AppKey), {}});
    }
    return steps;
}
