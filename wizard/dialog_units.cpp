#include "wizard/dialog_units.h"

#include <algorithm>
#include <cstring>

namespace {

// DS_SETFONT, which DS_SHELLFONT includes: the template names a font.
constexpr uint32_t SetFontStyle = 0x40;

// Little-endian reads over the template; any read past the end clears ok.
class TemplateReader {
public:
    TemplateReader(const uint8_t* bytes, size_t size) : bytes(bytes), size(size) {}

    bool ok = true;

    template <typename T>
    T read() {
        T value{};
        if (!ok || size - position < sizeof(T)) {
            ok = false;
            return value;
        }
        std::memcpy(&value, bytes + position, sizeof(T));
        position += sizeof(T);
        return value;
    }

    void skip(size_t count) {
        ok = ok && size - position >= count;
        position += ok ? count : 0;
    }

    void skipString() {
        while (ok && read<uint16_t>() != 0) {
        }
    }

    // A menu, class or text field: 0x0000 none, 0xFFFF and an ordinal, or a string.
    void skipNameOrOrdinal() {
        const uint16_t first = read<uint16_t>();
        if (first == 0xFFFF) {
            read<uint16_t>();
        } else if (first != 0) {
            skipString();
        }
    }

    // Into a buffer of capacity units; a longer string clears ok.
    void readString(wchar_t* text, size_t capacity) {
        for (size_t i = 0; ok; ++i) {
            const uint16_t unit = read<uint16_t>();
            if (i == capacity) {
                ok = false;
            } else {
                text[i] = static_cast<wchar_t>(unit);
            }
            if (unit == 0) {
                return;
            }
        }
    }

    // Items start on a 4-byte boundary from the start of the template.
    void alignToDword() { skip(((position + 3) & ~size_t{3}) - position); }

private:
    const uint8_t* bytes;
    size_t size;
    size_t position = 0;
};

int32_t roundedDivision(int64_t numerator, int64_t denominator) {
    const int64_t half = denominator / 2;
    return static_cast<int32_t>(numerator >= 0 ? (numerator + half) / denominator
                                               : (numerator - half) / denominator);
}

}  // namespace

bool readPageLayout(const uint8_t* bytes, size_t size, PageLayout& layout) {
    TemplateReader reader(bytes, size);
    if (reader.read<uint16_t>() != 1 || reader.read<uint16_t>() != 0xFFFF) {
        return false;
    }
    reader.skip(2 * sizeof(uint32_t));  // help id, extended style
    const uint32_t style = reader.read<uint32_t>();
    layout.controlCount = reader.read<uint16_t>();
    reader.skip(4 * sizeof(int16_t));  // the dialog's own place and size
    reader.skipNameOrOrdinal();        // menu
    reader.skipNameOrOrdinal();        // window class
    reader.skipString();               // caption
    if ((style & SetFontStyle) == 0) {
        return false;
    }
    layout.font.pointSize = reader.read<uint16_t>();
    layout.font.weight = reader.read<uint16_t>();
    layout.font.italic = reader.read<uint8_t>();
    layout.font.charset = reader.read<uint8_t>();
    reader.readString(layout.font.typeface, MaxTypefaceUnits);
    if (layout.controlCount > MaxPageControls) {
        return false;
    }
    for (uint32_t i = 0; i < layout.controlCount && reader.ok; ++i) {
        reader.alignToDword();
        reader.skip(3 * sizeof(uint32_t));  // help id, extended style, style
        DialogUnitRect& rect = layout.controls[i];
        rect.x = reader.read<int16_t>();
        rect.y = reader.read<int16_t>();
        rect.cx = reader.read<int16_t>();
        rect.cy = reader.read<int16_t>();
        reader.skip(sizeof(uint32_t));  // id
        reader.skipNameOrOrdinal();     // class
        reader.skipNameOrOrdinal();     // text
        reader.skip(reader.read<uint16_t>());
    }
    return reader.ok;
}

PixelRect pixelsFromDialogUnits(const DialogUnitRect& rect, const DialogBaseUnits& units) {
    return {roundedDivision(int64_t{rect.x} * units.x, 4),
            roundedDivision(int64_t{rect.y} * units.y, 8),
            roundedDivision(int64_t{rect.cx} * units.x, 4),
            roundedDivision(int64_t{rect.cy} * units.y, 8)};
}

int32_t fontPixelsAtDpi(uint16_t points, uint32_t dpi) {
    return roundedDivision(int64_t{points} * dpi, 72);
}

int32_t averageCharWidth(int32_t alphabetWidth) {
    return (alphabetWidth / 26 + 1) / 2;
}

int32_t licenceInsetForDpi(uint32_t dpi) {
    return static_cast<int32_t>(std::min<uint64_t>(5ull * dpi / 96, 20));
}
