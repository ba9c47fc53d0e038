// Install steps 0 to 7: one chosen application, its shortcut and its registry values.
#include "install/shell_helpers.h"
#include "install/step_parts.h"
#include "setup/page_controls.h"
#include "setup/setup_context.h"

namespace {

// Creates the Start-menu shortcut of the program; a failure is reported and counted.
void installShortcut(SetupContext& setup, const wchar_t* name, const wchar_t* program) {
    createFolderChain(setup.shortcutDir);
    if (!appendTexts(setup.shortcutDir, {name, L".lnk"})) {
        reportWriteFailed(setup);
        return;
    }
    addDetailsLine(setup, setup.shortcutDir);
    if (createShortcut(program, setup.shortcutDir) != S_OK) {
        reportWriteFailed(setup);
    }
}

// Writes the program into the destination folder; only a written program gets its
// shortcut and registry values.
void installComponent(SetupContext& setup, uint32_t index, StepBuffers& buffers) {
    const wchar_t* name = setup.componentNames[index];
    setStatusText(setup, name);
    createFolderChain(setup.installDir);
    // A path that does not fit its field cannot be written: the same failure as a write.
    if (!appendTexts(setup.installDir, {name, L".exe"})) {
        reportWriteFailed(setup);
        return;
    }
    const wchar_t* program = setup.installDir;
    addDetailsLine(setup, program);
    const PackageEntry& entry = setup.entries[index + 1];
    if (setup.unpacked.writeToFile(program, entry.offset, entry.size, &entry.lastWriteTime) !=
        Ok) {
        reportWriteFailed(setup);
        return;
    }
    installShortcut(setup, name, program);
    buildIconString(buffers.icon, program);
    buildCommandString(buffers.command, program);
    writeComponentValues(setup, index, buffers);
}

}  // namespace

void runComponentStep(SetupContext& setup, uint32_t index, StepBuffers& buffers) {
    if (IsDlgButtonChecked(setup.pages[Components], FirstComponentBox + static_cast<int>(index)) ==
        BST_CHECKED) {
        installComponent(setup, index, buffers);
    }
    // The chain goes on after unchecked components and failures alike.
    PostMessageW(setup.mainWindow, WM_APP, index + 1, 0);
}
