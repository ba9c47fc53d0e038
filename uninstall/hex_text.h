// Bytes as lower-case hexadecimal text, for names the uninstaller makes. Portable.
#pragma once

#include <cstdint>
#include <string>

inline void appendHex(std::wstring& text, uint8_t byte)
{
    constexpr wchar_t Digits[] = L"0123456789abcdef";
    text += Digits[byte >> 4];
    text += Digits[byte & 0xF];
}
