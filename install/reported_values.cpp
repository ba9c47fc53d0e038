// The registry writes of the install steps: a value that cannot be written is reported
// with the key and value it concerns and counted, and the step goes on.
#include "install/shell_helpers.h"
#include "install/step_parts.h"

namespace {

// Every key path comes from scratch, so the prefix and the longest of them fit the line.
static_assert(sizeof RegistryLinePrefix / sizeof(wchar_t) - 1 +
                  ScratchBytes / sizeof(wchar_t) <= RegistryLineUnits);

// The key and value that failed, then the error line. A null key path (one too long for
// scratch) cannot be named; the error is still shown and counted.
void reportValueFailed(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName) {
    if (keyPath != nullptr) {
        wchar_t line[RegistryLineUnits];
        buildRegistryLine(line, keyPath, valueName);
        addDetailsLine(setup, line);
    }
    reportWriteFailed(setup);
}

}  // namespace

void writeReportedValue(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName,
                        DWORD type, const void* data, DWORD size) {
    if (writeUserValue(keyPath, valueName, type, data, size) == 0) {
        reportValueFailed(setup, keyPath, valueName);
    }
}

void writeTextValue(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName,
                    const wchar_t* text) {
    writeReportedValue(setup, keyPath, valueName, REG_SZ, text, registryTextBytes(text));
}

void writeNumberValue(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName,
                      DWORD number) {
    writeReportedValue(setup, keyPath, valueName, REG_DWORD, &number, sizeof number);
}
