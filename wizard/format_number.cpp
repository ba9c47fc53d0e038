#include "wizard/format_number.h"

namespace {

constexpr uint32_t MaxChars = FormatNumberCapacity - 1;
constexpr char Digits[] = "0123456789abcdef";

// Writes value's digits in base, most significant first, while room remains.
uint32_t appendDigits(char* destination, uint32_t count, uint32_t value, uint32_t base) {
    char reversed[32];
    uint32_t digitCount = 0;
    do {
        reversed[digitCount++] = Digits[value % base];
        value /= base;
    } while (value != 0);
    while (digitCount != 0 && count < MaxChars) {
        destination[count++] = reversed[--digitCount];
    }
    return count;
}

}  // namespace

uint32_t formatNumber(char* destination, const char* format, uint32_t value) {
    uint32_t count = 0;
    while (*format != '%') {
        if (*format == '\0' || count == MaxChars) {
            destination[count] = '\0';
            return count;
        }
        destination[count++] = *format++;
    }
    ++format;
    if (*format != '\0') {
        const uint32_t base = *format == 'x' ? 16 : 10;
        ++format;
        count = appendDigits(destination, count, value, base);
        while (*format != '\0' && count < MaxChars) {
            destination[count++] = *format++;
        }
    }
    destination[count] = '\0';
    return count;
}
