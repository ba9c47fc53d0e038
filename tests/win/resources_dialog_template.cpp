#include "tests/win/resources_dialog_template.h"

#include <cstring>

namespace {

// Little-endian reads over the template bytes; any read past the end clears `ok`.
class TemplateReader {
public:
    explicit TemplateReader(std::span<const uint8_t> bytes) : bytes(bytes) {}

    bool ok = true;

    template <typename T>
    T read()
    {
        T value{};
        if (position + sizeof(T) > bytes.size()) {
            ok = false;
            return value;
        }
        std::memcpy(&value, bytes.data() + position, sizeof(T));
        position += sizeof(T);
        return value;
    }

    std::wstring readString()
    {
        std::wstring text;
        for (wchar_t unit = read<wchar_t>(); ok && unit != L'\0'; unit = read<wchar_t>()) {
            text.push_back(unit);
        }
        return text;
    }

    // 0x0000: empty; 0xFFFF: an ordinal follows; anything else starts a string.
    TemplateName readName()
    {
        const uint16_t first = read<uint16_t>();
        if (first == 0x0000) {
            return {};
        }
        if (first == 0xFFFF) {
            return {{}, read<uint16_t>()};
        }
        position -= sizeof(uint16_t);
        return {readString(), std::nullopt};
    }

    void skip(size_t count)
    {
        position += count;
        ok = ok && position <= bytes.size();
    }

    // Items start on a 4-byte boundary from the start of the template.
    void alignToDword() { position = (position + 3) & ~size_t{3}; }

private:
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

std::wstring className(const TemplateName& name)
{
    if (!name.ordinal) {
        return name.text;
    }
    switch (*name.ordinal) {
    case 0x0080: return L"BUTTON";
    case 0x0081: return L"EDIT";
    case 0x0082: return L"STATIC";
    case 0x0083: return L"LISTBOX";
    case 0x0084: return L"SCROLLBAR";
    case 0x0085: return L"COMBOBOX";
    }
    return L"#" + std::to_wstring(*name.ordinal);
}

DialogItem readItem(TemplateReader& reader, bool extended)
{
    DialogItem item{};
    reader.alignToDword();
    if (extended) {
        reader.read<uint32_t>();  // help id
        item.exStyle = reader.read<uint32_t>();
        item.style = reader.read<uint32_t>();
    } else {
        item.style = reader.read<uint32_t>();
        item.exStyle = reader.read<uint32_t>();
    }
    item.x = reader.read<int16_t>();
    item.y = reader.read<int16_t>();
    item.cx = reader.read<int16_t>();
    item.cy = reader.read<int16_t>();
    item.id = extended ? static_cast<int32_t>(reader.read<uint32_t>()) : reader.read<int16_t>();
    item.className = className(reader.readName());
    item.text = reader.readName();
    item.extraBytes = reader.read<uint16_t>();
    reader.skip(item.extraBytes);
    return item;
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(std::span<const uint8_t> bytes)
{
    TemplateReader reader(bytes);
    DialogTemplate dialog{};
    const uint16_t version = reader.read<uint16_t>();
    const uint16_t signature = reader.read<uint16_t>();
    dialog.extended = version == 1 && signature == 0xFFFF;
    if (dialog.extended) {
        reader.read<uint32_t>();  // help id
        dialog.exStyle = reader.read<uint32_t>();
        dialog.style = reader.read<uint32_t>();
    } else {
        reader = TemplateReader(bytes);
        dialog.style = reader.read<uint32_t>();
        dialog.exStyle = reader.read<uint32_t>();
    }
    const uint16_t itemCount = reader.read<uint16_t>();
    dialog.x = reader.read<int16_t>();
    dialog.y = reader.read<int16_t>();
    dialog.cx = reader.read<int16_t>();
    dialog.cy = reader.read<int16_t>();
    dialog.menu = reader.readName();
    dialog.windowClass = reader.readName();
    dialog.caption = reader.readString();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = reader.read<uint16_t>();
        if (dialog.extended) {
            dialog.weight = reader.read<uint16_t>();
            dialog.italic = reader.read<uint8_t>();
            dialog.charset = reader.read<uint8_t>();
        }
        dialog.typeface = reader.readString();
    }
    for (uint16_t i = 0; i < itemCount && reader.ok; ++i) {
        dialog.items.push_back(readItem(reader, dialog.extended));
    }
    if (!reader.ok) {
        return std::nullopt;
    }
    return dialog;
}

std::span<const uint8_t> moduleResource(const wchar_t* type, WORD id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
    return data ? std::span<const uint8_t>(data, SizeofResource(module, found))
                : std::span<const uint8_t>{};
}
