#include "package/tool/pe_resource.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "package/package_types.h"

namespace {

constexpr uint32_t PeHeaderOffsetField = 0x3C;  // in the DOS header
constexpr uint32_t PeSignature = 0x00004550;    // "PE\0\0"
constexpr uint32_t CoffHeaderSize = 20;
constexpr uint32_t SectionCountField = 2;       // in the COFF header
constexpr uint32_t OptionalHeaderSizeField = 16;
constexpr uint16_t Pe32PlusMagic = 0x20B;
constexpr uint32_t RvaCountField = 108;         // in the PE32+ optional header
constexpr uint32_t DataDirectoriesField = 112;
constexpr uint32_t ResourceDirectoryIndex = 2;
constexpr uint32_t DataDirectorySize = 8;
constexpr uint32_t SectionHeaderSize = 40;
constexpr uint32_t TableCountsField = 12;       // named, then integer-id entries
constexpr uint32_t TableHeaderSize = 16;
constexpr uint32_t TableEntrySize = 8;
constexpr uint32_t HighBit = 0x80000000u;       // a named entry; an entry that is a table

const std::string NoPackage = "no resource 102 of type RCDATA";

// Why the file holds no package. Thrown and caught within this file only.
struct Refusal {
    std::string problem;
};

std::string hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// Little-endian fields of a byte range, each read only when it lies wholly inside.
class Fields {
public:
    Fields(std::span<const uint8_t> bytes, std::string_view name) : bytes_(bytes), name_(name) {}

    bool holds(uint64_t offset, uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    uint32_t u16(uint64_t offset, std::string_view what) const { return read(offset, 2, what); }
    uint32_t u32(uint64_t offset, std::string_view what) const { return read(offset, 4, what); }

private:
    uint32_t read(uint64_t offset, unsigned width, std::string_view what) const {
        if (!holds(offset, width)) {
            throw Refusal{std::string(what) + " lies beyond the end of the " + name_};
        }
        uint32_t value = 0;
        for (unsigned i = 0; i < width; ++i) {
            value |= uint32_t{bytes_[offset + i]} << (8 * i);
        }
        return value;
    }

    std::span<const uint8_t> bytes_;
    std::string name_;
};

struct Section {
    uint64_t address;     // its relative virtual address
    uint64_t extent;      // its size in memory
    uint64_t fileBacked;  // how much of that comes from the file; the rest reads as zeros
    uint64_t fileOffset;
    uint64_t rawSize;     // its data in the file, which must all be there
};

std::vector<Section> readSections(const Fields& file, uint64_t table, uint32_t count) {
    std::vector<Section> sections;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t header = table + uint64_t{i} * SectionHeaderSize;
        const uint64_t virtualSize = file.u32(header + 8, "the section table");
        const uint64_t address = file.u32(header + 12, "the section table");
        const uint64_t rawSize = file.u32(header + 16, "the section table");
        const uint64_t rawOffset = file.u32(header + 20, "the section table");
        // Some linkers leave the virtual size 0: the section is then its raw data.
        const uint64_t extent = virtualSize == 0 ? rawSize : virtualSize;
        sections.push_back({address, extent, std::min(extent, rawSize), rawOffset, rawSize});
    }
    return sections;
}

// The file bytes from `address` to the end of the data its section has in the file, which
// must hold at least `size` bytes.
std::span<const uint8_t> bytesAt(std::span<const uint8_t> file,
                                 const std::vector<Section>& sections, uint32_t address,
                                 uint32_t size, const std::string& what) {
    const std::string where = what + " (address " + hex(address) + ", " + std::to_string(size) +
                              " bytes)";
    for (const Section& section : sections) {
        if (address < section.address || address - section.address >= section.extent) {
            continue;
        }
        const uint64_t into = address - section.address;
        if (into >= section.fileBacked || size > section.fileBacked - into) {
            throw Refusal{where + " lies beyond its section's data in the file"};
        }
        // A file cut short in a section's data is not the file the linker wrote.
        if (section.fileOffset > file.size() ||
            section.rawSize > file.size() - section.fileOffset) {
            throw Refusal{"the section of " + where + " runs past the end of the file"};
        }
        return file.subspan(section.fileOffset + into, section.fileBacked - into);
    }
    throw Refusal{where + " lies in no section"};
}

struct Table {
    uint32_t offset;  // from the start of the resource directory
    uint32_t named;   // entries with names come first
    uint32_t ids;     // then those with integer ids, in ascending order
    std::string name;
};

struct TableEntry {
    uint32_t name;
    uint32_t target;
};

Table readTable(const Fields& tree, uint32_t offset, const std::string& name) {
    const Table table{offset, tree.u16(uint64_t{offset} + TableCountsField, name),
                      tree.u16(uint64_t{offset} + TableCountsField + 2, name), name};
    if (!tree.holds(uint64_t{offset} + TableHeaderSize,
                    uint64_t{table.named + table.ids} * TableEntrySize)) {
        throw Refusal{"the entries of " + name + " lie beyond the end of the resource directory"};
    }
    return table;
}

TableEntry entryOf(const Fields& tree, const Table& table, uint32_t index) {
    const uint64_t entry =
        uint64_t{table.offset} + TableHeaderSize + uint64_t{index} * TableEntrySize;
    return {tree.u32(entry, table.name), tree.u32(entry + 4, table.name)};
}

// The entry with integer id `id`, if there is one. The format keeps ids in ascending order
// and the loader looks them up by halving the table, so a table out of order is refused
// rather than read in a way the loader would not.
std::optional<TableEntry> findId(const Fields& tree, const Table& table, uint32_t id) {
    std::optional<TableEntry> found;
    uint32_t previous = 0;
    for (uint32_t i = 0; i < table.ids; ++i) {
        const TableEntry entry = entryOf(tree, table, table.named + i);
        if (i > 0 && entry.name <= previous) {
            throw Refusal{"the integer ids of " + table.name + " are not in ascending order"};
        }
        if (entry.name == id) {
            found = entry;
        }
        previous = entry.name;
    }
    return found;
}

Table subtable(const Fields& tree, const TableEntry& entry, const std::string& name) {
    if ((entry.target & HighBit) == 0) {
        throw Refusal{"the entry for " + name + " is data, not a table"};
    }
    return readTable(tree, entry.target & ~HighBit, name);
}

// Language 1033, or the only language the resource has.
TableEntry chooseLanguage(const Fields& tree, const Table& languages) {
    if (const std::optional<TableEntry> english = findId(tree, languages, PackageResourceLanguage)) {
        return *english;
    }
    const uint32_t count = languages.named + languages.ids;
    if (count == 1 && languages.ids == 1) {
        return entryOf(tree, languages, 0);
    }
    throw Refusal{"resource 102 of type RCDATA has " + std::to_string(count) +
                  " languages, and none is 1033"};
}

PeResource locate(std::span<const uint8_t> bytes) {
    const Fields file(bytes, "file");
    if (!startsAsPeFile(bytes)) {
        throw Refusal{"not a PE file"};
    }
    const uint64_t peHeader = file.u32(PeHeaderOffsetField, "the DOS header");
    if (!file.holds(peHeader, 4) || file.u32(peHeader, "") != PeSignature) {
        throw Refusal{"not a PE file: no PE signature at offset " + std::to_string(peHeader)};
    }
    const uint64_t coffHeader = peHeader + 4;
    const uint32_t sectionCount = file.u16(coffHeader + SectionCountField, "the COFF header");
    const uint32_t optionalSize = file.u16(coffHeader + OptionalHeaderSizeField, "the COFF header");
    const uint64_t optionalHeader = coffHeader + CoffHeaderSize;
    if (file.u16(optionalHeader, "the optional header") != Pe32PlusMagic) {
        throw Refusal{"not a 64-bit program: its optional header is not PE32+"};
    }
    const uint32_t directoryField =
        DataDirectoriesField + ResourceDirectoryIndex * DataDirectorySize;
    if (file.u32(optionalHeader + RvaCountField, "the optional header") <= ResourceDirectoryIndex ||
        optionalSize < directoryField + DataDirectorySize) {
        throw Refusal{NoPackage + " (the program has no resource directory)"};
    }
    const uint32_t treeAddress = file.u32(optionalHeader + directoryField, "the optional header");
    const uint32_t treeSize = file.u32(optionalHeader + directoryField + 4, "the optional header");
    if (treeAddress == 0 || treeSize == 0) {
        throw Refusal{NoPackage + " (the program has no resources)"};
    }

    const std::vector<Section> sections =
        readSections(file, optionalHeader + optionalSize, sectionCount);
    // The tree's offsets count from its start and may reach to the end of its section.
    const Fields tree(
        bytesAt(bytes, sections, treeAddress, TableHeaderSize, "the resource directory"),
        "resource directory");
    const Table types = readTable(tree, 0, "the table of resource types");
    const std::optional<TableEntry> rcdata = findId(tree, types, PackageResourceType);
    if (!rcdata) {
        throw Refusal{NoPackage};
    }
    const Table names = subtable(tree, *rcdata, "the RCDATA resources");
    const std::optional<TableEntry> package = findId(tree, names, PackageResourceId);
    if (!package) {
        throw Refusal{NoPackage};
    }
    const Table languages = subtable(tree, *package, "the languages of resource 102");
    const TableEntry language = chooseLanguage(tree, languages);
    if ((language.target & HighBit) != 0) {
        throw Refusal{"the entry for resource 102 in language " + std::to_string(language.name) +
                      " is a table, not data"};
    }
    const std::string dataEntry = "the data entry of resource 102";
    const uint32_t dataAddress = tree.u32(language.target, dataEntry);
    const uint32_t dataSize = tree.u32(uint64_t{language.target} + 4, dataEntry);
    if (dataSize == 0) {
        throw Refusal{"resource 102 of type RCDATA is empty"};
    }
    const std::span<const uint8_t> data =
        bytesAt(bytes, sections, dataAddress, dataSize, "the data of resource 102");
    return {static_cast<uint64_t>(data.data() - bytes.data()), dataSize, language.name};
}

}  // namespace

bool startsAsPeFile(std::span<const uint8_t> file) {
    return file.size() >= 2 && file[0] == 'M' && file[1] == 'Z';
}

PeResourceSearch findPackageResource(std::span<const uint8_t> file) {
    try {
        return {locate(file), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.problem};
    }
}
