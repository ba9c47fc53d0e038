#pragma once

#include <cstdint>

constexpr uint32_t FinalStep = 8;

// Runs install step index (0 to 7: one application; 8: uninstaller and result).
void runInstallStep(uint32_t index);
