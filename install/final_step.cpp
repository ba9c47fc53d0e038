// Install step 8: AppPath, the uninstaller and its registration, Explorer told of new file
// types, and the result text.
#include <shlobj.h>

#include "install/step_parts.h"
#include "setup/path_helpers.h"

namespace {

// The entry of the installed programs list that points at the uninstaller.
void registerUninstaller(SetupContext& setup, const StepBuffers& buffers) {
    const wchar_t* key =
        buildKeyPath(setup, L"Microsoft", L"Windows", L"CurrentVersion", L"Uninstall", L"Velkaris");
    writeTextValue(setup, key, L"DisplayIcon", buffers.icon);
    writeTextValue(setup, key, L"DisplayName", L"Velkaris App Pack (Single User)");
    writeTextValue(setup, key, L"DisplayVersion", L"2308");
    writeTextValue(setup, key, L"Publisher", L"Velkaris");
    writeTextValue(setup, key, L"UninstallString", buffers.command);
    writeNumberValue(setup, key, L"EstimatedSize", setup.requiredBytes >> 10);
    writeNumberValue(setup, key, L"NoModify", 1);
    writeNumberValue(setup, key, L"NoRepair", 1);
}

// AppPath is stored first, so the next run finds the folder even when the uninstaller
// cannot be written; the registration needs the written uninstaller.
void installUninstaller(SetupContext& setup, uint32_t folderLength, StepBuffers& buffers) {
    writeReportedValue(setup, buildKeyPath(setup, L"Velkaris"), L"AppPath", REG_SZ,
                       setup.installDir, 2 * (folderLength + 1));
    if (!appendTexts(setup.installDir, {setup.componentNames[UninstallComponent], L".exe"})) {
        reportWriteFailed(setup);
        return;
    }
    // "Uninstall" becomes the file name "uninstall.exe".
    setup.installDir[folderLength] = lowerAscii(setup.installDir[folderLength]);
    const wchar_t* uninstaller = setup.installDir;
    addDetailsLine(setup, uninstaller);
    const PackageEntry& entry = setup.entries[UninstallerEntry];
    if (setup.unpacked.writeToFile(uninstaller, entry.offset, entry.size, nullptr) != Ok) {
        reportWriteFailed(setup);
        return;
    }
    buildIconString(buffers.icon, uninstaller);
    buildQuotedPath(buffers.command, uninstaller);
    registerUninstaller(setup, buffers);
}

}  // namespace

void runFinalStep(SetupContext& setup, uint32_t folderLength, StepBuffers& buffers) {
    // With no component chosen there is nothing to register or to come back to.
    if (setup.requiredBytes != 0) {
        installUninstaller(setup, folderLength, buffers);
    }
    // Explorer keeps file types, their icons and verbs cached until it is told, once, that
    // they changed.
    if (setup.associationsChanged != 0) {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    setResultText(setup, setup.errorCount == 0 ? "Installation completed successfully."
                                               : "Installation failed.");
    setup.state = Finished;
}
