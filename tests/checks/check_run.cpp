#include "tests/checks/check_run.h"

#include <windows.h>

#include "tests/checks/window_reading.h"

CheckRun::CheckRun(const ChecksFolder& checksFolder, std::string name)
    : folder(checksFolder), logFile(checksFolder.logs + wide(name) + L".txt")
{
    outcome.name = std::move(name);
    DeleteFileW(logFile.c_str());
}

void CheckRun::log(std::wstring_view line)
{
    const std::string text = utf8(line) + "\n";
    outcome.log += text;
    const HANDLE file = CreateFileW(logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
}

void CheckRun::note(std::wstring_view text)
{
    outcome.note = utf8(text);
    log(L"on this system: " + std::wstring(text));
}

void CheckRun::expect(bool holds, std::wstring_view finding)
{
    if (holds) {
        return;
    }
    outcome.verdict = Verdict::Failed;
    if (!outcome.failure.empty()) {
        outcome.failure += "\n";
    }
    outcome.failure += utf8(finding);
    log(L"FAILED: " + std::wstring(finding));
}

void CheckRun::fail(std::wstring_view finding)
{
    expect(false, finding);
    throw CheckStopped{};
}

void CheckRun::require(bool holds, std::wstring_view finding)
{
    if (!holds) {
        fail(finding);
    }
}

void CheckRun::skip(std::wstring_view reason)
{
    outcome.verdict = Verdict::Skipped;
    note(reason);
    throw CheckStopped{};
}
