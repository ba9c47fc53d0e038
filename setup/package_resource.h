// Finds and locks the package resource (RCDATA 102) of setup.instance and runs the loader
// sequence on it with the constants of the package this build carries.
#pragma once

#include <cstdint>

struct SetupContext;

uint32_t loadPackage(SetupContext& setup);
