// What the install steps share: the step's local text buffers and the progress page.
#pragma once

#include "install/install_text.h"
#include "setup/setup_context.h"

// The two local text buffers of one step, zero-filled at its start. Their 308 units hold
// a quoted 299-character path with its six-character suffix, so nothing built from a
// folder field can overflow them.
struct StepBuffers {
    wchar_t icon[StepTextUnits];
    wchar_t command[StepTextUnits];
};
static_assert(StepTextUnits >= 1 + (FolderFieldUnits - 1) + 6 + 1);

// Installs application index (0 to 7) when its check box is checked, then schedules the
// next step.
void runComponentStep(SetupContext& setup, uint32_t index, StepBuffers& buffers);
// Writes AppPath, the uninstaller and its registration, and shows the result. folderLength
// is the length of installDir when the step began.
void runFinalStep(SetupContext& setup, uint32_t folderLength, StepBuffers& buffers);

// Adds a line to the details list of the progress page.
void addDetailsLine(const SetupContext& setup, const wchar_t* line);
// Reports a file that could not be written: a details line and one more counted error.
void reportWriteFailed(SetupContext& setup);
// Puts a component name, or the final result text, into the status line of the progress page.
void setStatusText(const SetupContext& setup, const wchar_t* text);
void setResultText(const SetupContext& setup, const char* text);

// Writes the registry values of application index (0 to 7) from the step's icon and command
// strings.
void writeComponentValues(SetupContext& setup, uint32_t index, const StepBuffers& buffers);
// Write one value under keyPath (HKEY_CURRENT_USER); a value that cannot be written gets a
// details line naming its key and value, "ERROR: Write failed." and one more counted error.
void writeReportedValue(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName,
                        DWORD type, const void* data, DWORD size);
// A REG_SZ value with its terminator.
void writeTextValue(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName,
                    const wchar_t* text);
// A REG_DWORD value.
void writeNumberValue(SetupContext& setup, const wchar_t* keyPath, const wchar_t* valueName,
                      DWORD number);
