// The checks of the folder, in the order they run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/checks/check_run.h"

struct Check {
    std::string name;
    std::function<void(CheckRun&)> run;
};

// The installer's checks, then one check per test program found in the folder's tests\.
std::vector<Check> allChecks(const ChecksFolder& folder);
