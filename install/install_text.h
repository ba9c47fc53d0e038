// Bounded building of the paths and registry strings of the install steps. Portable: no
// Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Units of each of a step's two local text buffers (icon string, command string).
constexpr size_t StepTextUnits = 308;

// Appends texts, in order, to the null-terminated text in buffer when all of them fit
// together with the terminator in capacity units. Otherwise buffer is left unchanged.
// Returns whether they were appended.
bool appendTexts(wchar_t* buffer, size_t capacity, std::initializer_list<const wchar_t*> texts);

template <size_t N>
bool appendTexts(wchar_t (&buffer)[N], std::initializer_list<const wchar_t*> texts) {
    return appendTexts(buffer, N, texts);
}

// The icon string of a program: its path followed by ",0".
bool buildIconString(wchar_t (&icon)[StepTextUnits], const wchar_t* program);
// The open command of a program: its quoted path, a space and the quoted %1.
bool buildCommandString(wchar_t (&command)[StepTextUnits], const wchar_t* program);
// The program's path between double quotes.
bool buildQuotedPath(wchar_t (&quoted)[StepTextUnits], const wchar_t* program);

// The date of an installation as the uninstall entry's InstallDate holds it: YYYYMMDD,
// with the year's last four digits.
void buildInstallDate(wchar_t (&date)[9], uint32_t year, uint32_t month, uint32_t day);

// Units of the details line that names a registry key and value.
constexpr size_t RegistryLineUnits = 320;
constexpr wchar_t RegistryLinePrefix[] = L"HKEY_CURRENT_USER\\";

// The details line of a registry write: the prefix and keyPath, then, unless valueName is
// null (the key's default value), a space and the value name in parentheses. A part that
// does not fit whole is left out, so the line stays bounded and terminated.
void buildRegistryLine(wchar_t (&line)[RegistryLineUnits], const wchar_t* keyPath,
                       const wchar_t* valueName);

// A-Z become a-z; every other character is kept.
constexpr wchar_t lowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Byte count of a REG_SZ value: the characters and the terminator, two bytes each.
uint32_t registryTextBytes(const wchar_t* text);

// Position of the progress bar after step index (0 to 8): 11, 22, ... 88, 100.
constexpr uint32_t progressAfterStep(uint32_t index) {
    return (index + 1) * 100 / 9;
}
