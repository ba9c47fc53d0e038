#pragma once

#include <cstdint>
#include <vector>

// The install steps a test program ran, in order; its runInstallStep replaces the real one.
extern std::vector<uint32_t> recordedSteps;
