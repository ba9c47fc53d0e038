#include "uninstall/registry_removal.h"

#include <windows.h>

#include <cwchar>

#include "uninstall/user_messages.h"

namespace {

bool isMissing(LSTATUS status)
{
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

const wchar_t* valueNameOrDefault(const std::wstring& value)
{
    return value.empty() ? nullptr : value.c_str();
}

// Deletes the key when it holds neither values nor subkeys. A key that stays is not a
// failure: it was either never the installation's alone or never there.
void deleteKeyIfEmpty(const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    const LSTATUS status = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                            nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) {
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
}

std::wstring describeStep(const RegistryStep& step)
{
    std::wstring what = L"HKEY_CURRENT_USER\\" + step.key;
    if (step.action == RegistryAction::DeleteValue) {
        what += step.value.empty() ? L" (default value)" : L" value " + step.value;
    }
    return what;
}

}  // namespace

std::optional<std::wstring> UserRegistry::readText(std::wstring_view key,
                                                   std::wstring_view value) const
{
    const std::wstring keyText(key);
    const std::wstring valueText(value);
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, keyText.c_str(), valueNameOrDefault(valueText), flags,
                     nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, keyText.c_str(), valueNameOrDefault(valueText), flags,
                     nullptr, text.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

void applyRegistrySteps(const std::vector<RegistryStep>& steps, RemovalOutcome& outcome)
{
    for (const RegistryStep& step : steps) {
        LSTATUS status = ERROR_SUCCESS;
        switch (step.action) {
        case RegistryAction::DeleteTree:
            status = RegDeleteTreeW(HKEY_CURRENT_USER, step.key.c_str());
            break;
        case RegistryAction::DeleteValue:
            status = RegDeleteKeyValueW(HKEY_CURRENT_USER, step.key.c_str(),
                                        valueNameOrDefault(step.value));
            break;
        case RegistryAction::DeleteKeyIfEmpty:
            deleteKeyIfEmpty(step.key);
            break;
        }
        if (status != ERROR_SUCCESS && !isMissing(status)) {
            noteFailure(outcome, describeStep(step), systemMessage(static_cast<DWORD>(status)));
        }
    }
}
