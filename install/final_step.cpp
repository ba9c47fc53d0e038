// Install step 8: AppPath, the uninstaller and its registration, Explorer told of new file
// types, and the result text.
#include <shlobj.h>

#include <cwchar>

#include "install/step_parts.h"
#include "setup/path_helpers.h"

namespace {

// The entry of the installed programs list that points at the uninstaller, with what
// Settings and deployment tools read besides: how to remove the pack without windows,
// where it lies (the folder with its trailing backslash, as AppPath) and the local date of
// the installation. folderLength ends the folder in installDir, which holds the
// uninstaller's path.
void registerUninstaller(SetupContext& setup, uint32_t folderLength, StepBuffers& buffers) {
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
    // The buffer holds a quoted path and six characters more (step_parts.h): " /S" fits.
    appendTexts(buffers.command, {L" /S"});
    writeTextValue(setup, key, L"QuietUninstallString", buffers.command);
    wmemcpy(buffers.icon, setup.installDir, folderLength);
    buffers.icon[folderLength] = L'\0';
    writeTextValue(setup, key, L"InstallLocation", buffers.icon);
    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t date[9];
    buildInstallDate(date, today.wYear, today.wMonth, today.wDay);
    writeTextValue(setup, key, L"InstallDate", date);
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
    registerUninstaller(setup, folderLength, buffers);
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
