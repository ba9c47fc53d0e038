#pragma once

#include <cstdint>

// Bytes the formatter may write, terminator included: at most 63 characters and a zero.
constexpr uint32_t FormatNumberCapacity = 64;

// Writes format with its one %u or %x directive replaced by value; returns the count of
// characters written, not counting the terminator. Never writes more than
// FormatNumberCapacity bytes.
uint32_t formatNumber(char* destination, const char* format, uint32_t value);
