#include "install/install_text.h"

#include <cwchar>

bool appendTexts(wchar_t* buffer, size_t capacity, std::initializer_list<const wchar_t*> texts) {
    const size_t start = wcsnlen(buffer, capacity);
    size_t end = start;
    for (const wchar_t* text : texts) {
        end += wcslen(text);
    }
    if (end >= capacity) {
        return false;
    }
    wchar_t* out = buffer + start;
    for (const wchar_t* text : texts) {
        const size_t n = wcslen(text);
        wmemcpy(out, text, n);
        out += n;
    }
    *out = L'\0';
    return true;
}

bool buildIconString(wchar_t (&icon)[StepTextUnits], const wchar_t* program) {
    return appendTexts(icon, {program, L",0"});
}

bool buildCommandString(wchar_t (&command)[StepTextUnits], const wchar_t* program) {
    return appendTexts(command, {L"\"", program, L"\" \"%1\""});
}

bool buildQuotedPath(wchar_t (&quoted)[StepTextUnits], const wchar_t* program) {
    return appendTexts(quoted, {L"\"", program, L"\""});
}

void buildInstallDate(wchar_t (&date)[9], uint32_t year, uint32_t month, uint32_t day) {
    const uint32_t parts[3][2] = {{year % 10000, 4}, {month % 100, 2}, {day % 100, 2}};
    size_t end = 0;
    for (const auto& [value, digits] : parts) {
        for (uint32_t i = 0, rest = value; i < digits; ++i, rest /= 10) {
            date[end + digits - 1 - i] = static_cast<wchar_t>(L'0' + rest % 10);
        }
        end += digits;
    }
    date[end] = L'\0';
}

void buildRegistryLine(wchar_t (&line)[RegistryLineUnits], const wchar_t* keyPath,
                       const wchar_t* valueName) {
    line[0] = L'\0';
    appendTexts(line, {RegistryLinePrefix, keyPath});
    if (valueName != nullptr) {
        appendTexts(line, {L" (", valueName, L")"});
    }
}

uint32_t registryTextBytes(const wchar_t* text) {
    return static_cast<uint32_t>(2 * (wcslen(text) + 1));
}
