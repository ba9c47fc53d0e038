// Every shipped program carries its manifest, read from its resources as Windows reads it;
// and the installer runs with the DPI awareness context its manifest asks for.
#include <windows.h>

#include "tests/checks/desktop_input.h"
#include "tests/checks/installer_checks.h"
#include "tests/checks/installer_driver.h"
#include "tests/checks/system_kind.h"
#include "tests/checks/window_reading.h"

namespace {

// The systems the manifests name as supported: Windows Vista, 7, 8, 8.1 and 10 (and later).
const char* const SupportedSystems[] = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};

// The text of resource 1 of type RT_MANIFEST; empty when the program has none.
std::string manifestOf(const std::wstring& program)
{
    const HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return {};
    }
    std::string text;
    if (const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        if (const HGLOBAL loaded = LoadResource(module, found)) {
            text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
        }
    }
    FreeLibrary(module);
    return text;
}

// What PROGRAM's manifest lacks of what every shipped program's promises; empty when nothing.
std::wstring manifestLacks(const std::string& xml)
{
    if (xml.empty()) {
        return L"no embedded manifest (RT_MANIFEST 1)";
    }
    const struct {
        const char* text;
        const wchar_t* meaning;
    } promises[] = {
        {"<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
         L"runs as the invoker without UI access"},
        {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", L"common controls 6"},
        {">PerMonitorV2, PerMonitor</dpiAwareness>", L"per-monitor DPI awareness, version 2 then 1"},
        {">true/pm</dpiAware>", L"dpiAware true/pm"}};
    std::wstring lacks;
    for (const auto& promise : promises) {
        if (xml.find(promise.text) == std::string::npos) {
            lacks += std::wstring(lacks.empty() ? L"" : L", ") + promise.meaning;
        }
    }
    size_t at = 0;
    for (const char* system : SupportedSystems) {
        at = xml.find(std::string("<supportedOS Id=\"") + system + "\"", at);
        if (at == std::string::npos) {
            lacks += std::wstring(lacks.empty() ? L"" : L", ") +
                     L"Windows Vista to 10 as supported systems, in order";
            break;
        }
    }
    return lacks;
}

}  // namespace

void checkManifests(CheckRun& run)
{
    std::vector<std::wstring> programs = {run.folder.installer};
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((run.folder.pack + L"*.exe").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            programs.push_back(run.folder.pack + found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    run.expect(programs.size() == 11, L"the folder holds " + std::to_wstring(programs.size()) +
                                          L" shipped programs, not the installer and ten");
    for (const std::wstring& program : programs) {
        const std::wstring lacks = manifestLacks(manifestOf(program));
        run.expect(lacks.empty(), program + L": " + lacks);
        run.log(program + (lacks.empty() ? L": its manifest is complete" : L": lacks " + lacks));
    }
}

void checkDpiAwareness(CheckRun& run)
{
    RunningInstaller installer = startInstaller(run);
    const DPI_AWARENESS_CONTEXT context = GetWindowDpiAwarenessContext(installer.window);
    const DPI_AWARENESS awareness = GetAwarenessFromDpiAwarenessContext(context);
    const std::wstring found = L"awareness " + std::to_wstring(awareness) + L", context " +
                               std::to_wstring(reinterpret_cast<intptr_t>(context));
    const SystemKind& system = thisSystem();
    if (system.wine) {
        // Wine tells another process's window by its awareness alone, whose context then
        // compares as version 1 (and Wine 8 gives a manifest's PerMonitorV2 version 1).
        run.note(wide(system.description) + L": the window's awareness is read, per-monitor; "
                 L"its version 2 only on Windows");
        run.expect(awareness == DPI_AWARENESS_PER_MONITOR_AWARE,
                   L"the installer's window is not per-monitor DPI aware: " + found);
    } else {
        run.expect(AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2),
                   L"the installer's window does not run with the Per-Monitor-V2 context: " + found);
    }
    run.log(L"the installer's window: " + found);
    pressFor(run, installer.window, {VK_ESCAPE}, L"Esc closes the installer",
             [&] { return !installer.process.running(); });
    run.expect(installer.process.wait(30000) == 0u, L"the installer did not end with exit code 0");
}
