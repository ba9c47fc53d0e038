// The per-user shell verbs and file types that the component steps register. Portable: no
// Windows headers.
#pragma once

#include <cstdint>
#include <span>

// What a value of the table holds.
enum class ValueSource : uint32_t {
    Text,           // the fixed text of the row
    IconString,     // the installed program's path followed by ",0"
    CommandString,  // the program's quoted path, a space and the quoted %1
};

// Key components below Software, up to the first null, as buildKeyPath takes them.
constexpr uint32_t KeyPartCount = 6;

// One REG_SZ default value of a key under HKEY_CURRENT_USER\Software.
struct ComponentValue {
    const wchar_t* keyParts[KeyPartCount];
    ValueSource source;
    const wchar_t* text;
};

// The values of application index (0 to 7) in the order they are written; empty for the
// applications that register nothing.
std::span<const ComponentValue> componentValues(uint32_t index);
