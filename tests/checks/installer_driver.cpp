#include "tests/checks/installer_driver.h"

#include <commctrl.h>

#include "setup/page_controls.h"
#include "tests/checks/screenshot.h"
#include "tests/checks/window_reading.h"

namespace {

// The progress page's controls, which the wizard's own code leaves to the install steps.
constexpr int ProgressBar = 1019;
constexpr int StatusText = 1003;
constexpr int DetailsList = 1018;
// A message box's text control.
constexpr int MessageText = 0xFFFF;
constexpr DWORD WindowDeadline = 60000;
constexpr DWORD EffectDeadline = 30000;

// The control with that id below PARENT, shown or not.
HWND anyControl(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) {
            return child;
        }
        if (HWND below = anyControl(child, id)) {
            return below;
        }
    }
    return nullptr;
}

// What a window of the installer that is not its wizard says: its title and text.
std::wstring shownInstead(HWND box)
{
    const HWND text = anyControl(box, MessageText);
    return L"\"" + windowText(box) + L": " + (text != nullptr ? windowText(text) : L"") + L"\"";
}

}  // namespace

RunningInstaller startInstaller(CheckRun& run)
{
    RunningInstaller installer;
    DWORD error = 0;
    installer.process = startProcess(quoted(run.folder.installer), {}, error);
    run.require(installer.process.started(),
                L"cannot start the installer (error " + std::to_wstring(error) + L")");
    // The wizard, or another window of the installer: the start-up error box.
    HWND other = nullptr;
    waitFor(
        [&] {
            installer.window = processWindow(installer.process.id(), SetupCaption);
            other = installer.window == nullptr ? processWindow(installer.process.id(), nullptr)
                                                : nullptr;
            wchar_t title[256] = {};
            GetWindowTextW(other, title, 256);
            other = other != nullptr && std::wstring(title) != SetupCaption ? other : nullptr;
            return installer.window != nullptr || other != nullptr || !installer.process.running();
        },
        WindowDeadline);
    if (installer.window == nullptr && other != nullptr) {
        const std::wstring said = shownInstead(other);
        press(other, {VK_RETURN});
        const std::optional<DWORD> code = installer.process.wait(EffectDeadline);
        run.fail(L"the installer showed " + said + L" instead of its wizard" +
                 (code ? L", and ended with exit code " + std::to_wstring(*code) : L""));
    }
    run.require(installer.window != nullptr,
                installer.process.running()
                    ? L"the installer showed no window within 60 s"
                    : L"the installer ended without a window, exit code " +
                          std::to_wstring(installer.process.wait(0).value_or(0)));
    run.log(L"the installer's wizard is shown");
    return installer;
}

Page visiblePage(HWND window)
{
    if (visibleControl(window, LicenceField) != nullptr) {
        return Page::Licence;
    }
    if (visibleControl(window, FirstComponentBox) != nullptr) {
        return Page::Components;
    }
    if (visibleControl(window, DestinationField) != nullptr) {
        return Page::Destination;
    }
    return visibleControl(window, ProgressBar) != nullptr ? Page::Progress : Page::None;
}

void pressFor(CheckRun& run, HWND window, KeyPress key, const std::wstring& what,
              const std::function<bool()>& effect)
{
    run.require(press(window, key), L"cannot press the key for " + what +
                                        L": the window did not come to the foreground");
    run.require(waitFor(effect, EffectDeadline), what + L" did not happen within 30 s");
    run.log(what);
}

void screenshot(CheckRun& run, HWND window, const std::wstring& name)
{
    const std::wstring path = run.folder.screenshots + name + L".png";
    bringToForeground(window, 5000);
    run.expect(saveScreenshot(window, path), L"cannot save the screenshot " + path);
}

std::wstring statusLine(HWND window)
{
    const HWND line = anyControl(window, StatusText);
    return line != nullptr ? windowText(line) : L"";
}

std::vector<std::wstring> detailsLines(HWND window)
{
    const HWND list = anyControl(window, DetailsList);
    return list != nullptr ? listItems(list) : std::vector<std::wstring>{};
}

int progressPosition(HWND window)
{
    const HWND bar = anyControl(window, ProgressBar);
    return bar != nullptr ? static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)) : -1;
}

std::wstring destinationField(HWND window)
{
    const HWND field = anyControl(window, DestinationField);
    return field != nullptr ? windowText(field) : L"";
}

std::wstring awaitResult(CheckRun& run, HWND window)
{
    std::wstring result;
    run.require(waitFor(
                    [&] {
                        result = statusLine(window);
                        return result.rfind(L"Installation", 0) == 0;
                    },
                    EffectDeadline),
                L"no result on the progress page within 30 s; its status line: \"" + result + L"\"");
    run.log(L"result: " + result);
    return result;
}

void closeInstaller(CheckRun& run, RunningInstaller& installer)
{
    pressFor(run, installer.window, {VK_RETURN}, L"Close ends the installer",
             [&] { return !installer.process.running(); });
    const std::optional<DWORD> code = installer.process.wait(EffectDeadline);
    run.expect(code == 0u, L"the installer ended with exit code " +
                               std::to_wstring(code.value_or(0)) + L", not 0");
}

void installWithDefaults(CheckRun& run)
{
    RunningInstaller installer = startInstaller(run);
    const HWND window = installer.window;
    pressFor(run, window, {VK_RETURN}, L"I Agree shows the components",
             [&] { return visiblePage(window) == Page::Components; });
    pressFor(run, window, {VK_RETURN}, L"Next shows the destination",
             [&] { return visiblePage(window) == Page::Destination; });
    pressFor(run, window, {VK_RETURN}, L"Install shows the progress",
             [&] { return visiblePage(window) == Page::Progress; });
    const std::wstring result = awaitResult(run, window);
    run.require(result == L"Installation completed successfully.",
                L"the installation ended with \"" + result + L"\"");
    closeInstaller(run, installer);
}
