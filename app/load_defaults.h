#pragma once

#include <cstdint>

// Loads the package and works out installDir, browsePath and shortcutDir of theSetup.
// 1 on success, 0 on failure.
uint32_t loadDefaults();
