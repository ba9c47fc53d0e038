// Reads and removes per-user registry values and keys for the uninstaller.
#pragma once

#include <vector>

#include "uninstall/removal_outcome.h"
#include "uninstall/removal_plan.h"

// The registry under HKEY_CURRENT_USER, as the removal plan reads it.
class UserRegistry final : public RegistryReader {
public:
    std::optional<std::wstring> readText(std::wstring_view key,
                                         std::wstring_view value) const override;
};

// Carries out the steps in order. What is already missing counts as removed; a step that
// fails is noted in outcome and the others are still carried out.
void applyRegistrySteps(const std::vector<RegistryStep>& steps, RemovalOutcome& outcome);
