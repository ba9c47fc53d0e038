// The Windows operations one install step is made of, timed one by one under Wine: where
// an install step's work goes. Prints rows of the benchmark table.
//   step_primitives FILE_BYTES
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/win/installer_window.h"

namespace {

constexpr int Repeats = 9;
const char Area[] = "under Wine, step parts";

std::wstring scratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"velkaris-bench\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

template <typename Operation>
double medianMs(Operation operation) {
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        const double start = nowMs();
        operation(i);
        times.push_back(nowMs() - start);
    }
    return median(times);
}

bool writeProgram(const std::wstring& path, const std::vector<char>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    FILETIME time{0xD53E8000u, 0x01D9C000u};
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    return ok;
}

// Saves the link at link unless link is empty: then only the object is made and its target set.
bool createLink(const std::wstring& target, const std::wstring& link) {
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink)))) {
        return false;
    }
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    HRESULT result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
        if (!link.empty()) {
            result = file->Save(link.c_str(), TRUE);
        }
        file->Release();
    }
    shellLink->Release();
    return SUCCEEDED(result);
}

bool writeValue(const std::wstring& subKey, const std::wstring& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Wine's shell link saves a link by starting its menu builder on it and waiting for it to
// end (here it is disabled, as in every Wine prefix of this project); this times that alone.
// -1 when there is no such program, as on Windows.
double menuBuilderMs(const std::wstring& link) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\winemenubuilder.exe";
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return -1;
    }
    return medianMs([&](int) {
        std::wstring commandLine = L"\"" + program + L"\" -w \"" + link + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                           DETACHED_PROCESS, nullptr, nullptr, &startup, &process)) {
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const size_t bytes = argc > 1 ? static_cast<size_t>(_wtoi(argv[1])) : 200000;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring folder = scratchFolder();
    const std::vector<char> program(bytes, 'x');
    bool ok = true;

    const double newFile = medianMs([&](int i) {
        ok &= writeProgram(folder + L"new" + std::to_wstring(i) + L".exe", program);
    });
    const double sameFile =
        medianMs([&](int) { ok &= writeProgram(folder + L"new0.exe", program); });
    const double link = medianMs([&](int i) {
        ok &= createLink(folder + L"new0.exe", folder + L"link" + std::to_wstring(i) + L".lnk");
    });
    const double linkObject = medianMs([&](int) { ok &= createLink(folder + L"new0.exe", L""); });
    const double value = medianMs([&](int i) {
        ok &=
            writeValue(L"Software\\VelkarisBench\\Key" + std::to_wstring(i), folder + L"new0.exe");
    });
    const double attributes =
        medianMs([&](int) { ok &= GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES; });
    CoUninitialize();
    const double menuBuilder = menuBuilderMs(folder + L"link0.lnk");

    const std::string check = ok ? "" : " (some calls FAILED)";
    printRow({Area, format("write a new %zu-byte program (create, write, time, close)", bytes),
              format("%.2f ms%s", newFile, check.c_str()), "-", "-"});
    printRow({Area, "write it again over the old file", format("%.2f ms", sameFile), "-", "-"});
    printRow(
        {Area, "shortcut (CoCreateInstance, SetPath, Save)", format("%.2f ms", link), "-", "-"});
    printRow({Area, "of which the link object and its target, without Save",
              format("%.2f ms", linkObject), "-", "-"});
    if (menuBuilder >= 0) {
        printRow({Area, "of which Wine's own: start winemenubuilder.exe -w on the link, wait",
                  format("%.2f ms", menuBuilder), "-", "-"});
    }
    printRow(
        {Area, "registry key created and one value written", format("%.2f ms", value), "-", "-"});
    printRow({Area, "folder check (GetFileAttributesW)", format("%.3f ms", attributes), "-", "-"});
    return ok ? 0 : 1;
}
