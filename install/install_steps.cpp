// One tick's install step: what every step does before and after its own work.
#include "install/install_steps.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "install/step_parts.h"

namespace {

constexpr int ProgressBarId = 1019;

// Length of a folder field; an unterminated field counts as its last unit cut off, so that
// the terminator written back at the end of the step stays inside the field.
uint32_t folderLength(const wchar_t (&folder)[FolderFieldUnits]) {
    return static_cast<uint32_t>(wcsnlen(folder, FolderFieldUnits - 1));
}

}  // namespace

void runInstallStep(uint32_t index) {
    SetupContext& setup = *theSetup;
    const uint32_t installLength = folderLength(setup.installDir);
    const uint32_t shortcutLength = folderLength(setup.shortcutDir);
    setup.pendingStep = 0;
    if (index > FinalStep) {
        return;
    }
    StepBuffers buffers{};
    if (index < FinalStep) {
        runComponentStep(setup, index, buffers);
    } else {
        runFinalStep(setup, installLength, buffers);
    }
    // The file names appended during the step are cut off again.
    setup.installDir[installLength] = L'\0';
    setup.shortcutDir[shortcutLength] = L'\0';
    SendDlgItemMessageW(setup.pages[Progress], ProgressBarId, PBM_SETPOS,
                        progressAfterStep(index), 0);
}
