#include "tests/win/app_recorded_steps.h"

#include "install/install_steps.h"
#include "setup/setup_context.h"

std::vector<uint32_t> recordedSteps;

// Like the real steps, clears the pending step so that a step never runs twice.
void runInstallStep(uint32_t index) {
    theSetup->pendingStep = 0;
    recordedSteps.push_back(index);
}
