#include "tests/checks/removal_scenarios.h"

#include <windows.h>

#include "tests/checks/desktop_input.h"
#include "tests/checks/file_bytes.h"
#include "tests/checks/installer_driver.h"
#include "tests/checks/leftover_snapshot.h"
#include "tests/checks/user_places.h"
#include "tests/checks/window_reading.h"

namespace {

constexpr wchar_t UninstallCaption[] = L"Velkaris App Pack (Single User) Uninstall";
constexpr int MessageText = 0xFFFF;

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring boxText(HWND box)
{
    const HWND text = GetDlgItem(box, MessageText);
    return text != nullptr ? windowText(text) : L"";
}

}  // namespace

Snapshot takeSnapshot(CheckRun& run)
{
    return leftoverSnapshot(run.folder.root);
}

InstalledPack::InstalledPack(CheckRun& run)
    : destination(defaultDestination()), before(takeSnapshot(run)), guard(run, destination)
{
    installWithDefaults(run);
}

void expectOnlyHelperLeft(CheckRun& run, const std::wstring& destination)
{
    run.expect(!exists(destination), L"the installation folder " + destination + L" is still there");
    run.expect(!exists(menuFolder()), L"the Start-menu folder " + menuFolder() + L" is still there");
    const std::vector<std::wstring> helpers = helperFolders();
    run.require(helpers.size() == 1, L"not one helper folder below %TEMP% but " +
                                         std::to_wstring(helpers.size()));
    const std::wstring& helper = helpers.front();
    run.expect(exists(helper + L"\\uninstall.exe"), helper + L" does not hold the helper's copy");
    const std::wstring name = helper.substr(helper.rfind(L'\\') + 1);
    std::wstring values;
    bool found = false;
    for (const RunOnceValue& value : runOnceValues()) {
        if (value.name.rfind(L"Velkaris", 0) == 0) {
            values += L" " + value.name + L"=" + value.command;
            found = found || (value.name == name && value.command == helperRemovalCommand(helper));
        }
    }
    run.expect(found && values == L" " + name + L"=" + helperRemovalCommand(helper),
               L"RunOnce holds" + (values.empty() ? L" nothing of the pack" : values) +
                   L", not only " + name + L"=" + helperRemovalCommand(helper));
    run.log(L"until the next sign-in: " + helper + L" and its RunOnce value");
}

void expectNothingLeftAfterSignIn(CheckRun& run, const Snapshot& before)
{
    playSignIn(run);
    const std::wstring left = snapshotDifferences(before, takeSnapshot(run));
    run.expect(left.empty(), L"after the next sign-in the machine differs from before the "
                             L"installation: " + left);
    run.log(L"after the next sign-in nothing of the pack is left");
}

ChildProcess holdFault(CheckRun& run, const std::wstring& kind, const std::wstring& target)
{
    const std::wstring output = run.folder.logs + L"fault-holder.txt";
    StartOptions options;
    options.outputFile = output;
    // A backslash before the closing quote would escape it: a folder goes without its own.
    std::wstring argument = target;
    if (argument.size() > 3 && argument.back() == L'\\') {
        argument.pop_back();
    }
    DWORD error = 0;
    ChildProcess holder = startProcess(quoted(run.folder.tools + L"fault_holder.exe") + L" " + kind +
                                           L" " + quoted(argument),
                                       options, error);
    run.require(holder.started(), L"cannot start the fault holder (error " +
                                      std::to_wstring(error) + L")");
    const auto said = [&] { return fileBytes(output); };
    run.require(waitFor([&] { return said().find("holding") != std::string::npos || !holder.running(); },
                        30000) &&
                    holder.running(),
                L"the fault holder does not hold " + kind + L" " + target + L": " + wide(said()));
    run.log(L"holding " + kind + L" " + target);
    return holder;
}

void answerBox(CheckRun& run, const std::wstring& beginning, const std::wstring& text, WORD key)
{
    HWND box = nullptr;
    std::wstring shown;
    run.require(waitFor(
                    [&] {
                        box = titledWindow(UninstallCaption);
                        shown = box != nullptr ? boxText(box) : L"";
                        return shown.rfind(beginning, 0) == 0;
                    },
                    60000),
                L"no box \"" + beginning + L"...\" within 60 s" +
                    (shown.empty() ? L"" : L"; the box says \"" + shown + L"\""));
    run.expect(text.empty() || shown == text, L"the box says \"" + shown + L"\", not \"" + text + L"\"");
    run.log(L"the uninstaller asks or tells: " + shown);
    run.require(press(box, {key}), L"cannot press a key in the box \"" + shown + L"\"");
    run.require(waitFor([&] { return !IsWindow(box); }, 30000),
                L"the box \"" + shown + L"\" stays after the key");
}

std::wstring exitCodeName(DWORD code)
{
    switch (code) {
    case Removed: return L"0 (removed)";
    case Incomplete: return L"1 (something could not be removed)";
    case Cancelled: return L"2 (answered No)";
    case RemovedAtNextSignIn: return L"4 (removed; a folder goes at the next sign-in)";
    default: return std::to_wstring(code);
    }
}
