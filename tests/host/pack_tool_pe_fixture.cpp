#include "pack_tool_pe_fixture.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t FileAlignment = 0x200;
constexpr uint32_t CodeAddress = 0x1000;
constexpr uint32_t OptionalHeaderSize = 240;
constexpr uint32_t SectionTable = TestOptionalMagic + OptionalHeaderSize;
constexpr uint32_t TableSize = 16;
constexpr uint32_t EntrySize = 8;
constexpr uint32_t DataEntrySize = 16;
constexpr uint32_t TableBit = 0x80000000u;

uint32_t alignUp(uint32_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

using Languages = std::map<uint16_t, const std::vector<uint8_t>*>;
using Names = std::map<uint16_t, Languages>;
using Types = std::map<uint16_t, Names>;

// The tables first, breadth first, then the data entries, then the data, 8-byte aligned.
std::vector<uint8_t> resourceTree(const Types& types) {
    std::vector<uint8_t> tree;
    uint32_t end = TableSize + EntrySize * static_cast<uint32_t>(types.size());
    std::map<uint16_t, uint32_t> typeTables;
    for (const auto& [type, names] : types) {
        typeTables[type] = end;
        end += TableSize + EntrySize * static_cast<uint32_t>(names.size());
    }
    std::map<std::pair<uint16_t, uint16_t>, uint32_t> nameTables;
    uint32_t leaves = 0;
    for (const auto& [type, names] : types) {
        for (const auto& [id, languages] : names) {
            nameTables[{type, id}] = end;
            end += TableSize + EntrySize * static_cast<uint32_t>(languages.size());
            leaves += static_cast<uint32_t>(languages.size());
        }
    }
    uint32_t dataEntry = end;
    uint32_t data = end + leaves * DataEntrySize;
    const auto table = [&](uint32_t offset, size_t count) {
        tree.resize(std::max<size_t>(tree.size(), offset + TableSize + EntrySize * count));
        putLe16(tree, offset + 14, static_cast<uint16_t>(count));
        return offset + TableSize;
    };
    uint32_t typeEntry = table(0, types.size());
    for (const auto& [type, names] : types) {
        putLe32(tree, typeEntry, type);
        putLe32(tree, typeEntry + 4, TableBit | typeTables[type]);
        typeEntry += EntrySize;
        uint32_t nameEntry = table(typeTables[type], names.size());
        for (const auto& [id, languages] : names) {
            putLe32(tree, nameEntry, id);
            putLe32(tree, nameEntry + 4, TableBit | nameTables[{type, id}]);
            nameEntry += EntrySize;
            uint32_t languageEntry = table(nameTables[{type, id}], languages.size());
            for (const auto& [language, bytes] : languages) {
                putLe32(tree, languageEntry, language);
                putLe32(tree, languageEntry + 4, dataEntry);
                languageEntry += EntrySize;
                data = alignUp(data, 8);
                tree.resize(std::max<size_t>(tree.size(), data + bytes->size()));
                putLe32(tree, dataEntry, TestResourceAddress + data);
                putLe32(tree, dataEntry + 4, static_cast<uint32_t>(bytes->size()));
                std::copy(bytes->begin(), bytes->end(), tree.begin() + data);
                dataEntry += DataEntrySize;
                data += static_cast<uint32_t>(bytes->size());
            }
        }
    }
    return tree;
}

void putSection(std::vector<uint8_t>& bytes, uint32_t header, const char* name, uint32_t address,
                uint32_t size, uint32_t fileOffset) {
    std::copy(name, name + 5, bytes.begin() + header);
    putLe32(bytes, header + 8, size);
    putLe32(bytes, header + 12, address);
    putLe32(bytes, header + 16, alignUp(size, FileAlignment));
    putLe32(bytes, header + 20, fileOffset);
}

}  // namespace

void putLe16(std::vector<uint8_t>& bytes, uint32_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void putLe32(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value) {
    putLe16(bytes, offset, static_cast<uint16_t>(value));
    putLe16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

TestProgram testProgram(const std::vector<TestResource>& resources) {
    Types types;
    for (const TestResource& resource : resources) {
        types[resource.type][resource.id][resource.language] = &resource.data;
    }
    const std::vector<uint8_t> tree = resources.empty() ? std::vector<uint8_t>() : resourceTree(types);

    const uint32_t code = FileAlignment;
    const uint32_t resourceSection = code + FileAlignment;
    std::vector<uint8_t> bytes(resourceSection + alignUp(static_cast<uint32_t>(tree.size()), FileAlignment));
    bytes[0] = 'M';
    bytes[1] = 'Z';
    putLe32(bytes, 0x3C, TestPeHeader);
    putLe32(bytes, TestPeHeader, 0x00004550);
    putLe16(bytes, TestPeHeader + 4, 0x8664);
    putLe16(bytes, TestSectionCount, 2);
    putLe16(bytes, TestPeHeader + 20, OptionalHeaderSize);
    putLe16(bytes, TestPeHeader + 22, 0x0022);
    putLe16(bytes, TestOptionalMagic, 0x20B);
    putLe32(bytes, TestOptionalMagic + 32, 0x1000);
    putLe32(bytes, TestOptionalMagic + 36, FileAlignment);
    putLe32(bytes, TestOptionalMagic + 56, TestResourceAddress + alignUp(static_cast<uint32_t>(tree.size()), 0x1000));
    putLe32(bytes, TestOptionalMagic + 60, FileAlignment);
    putLe16(bytes, TestOptionalMagic + 68, 2);
    putLe32(bytes, TestOptionalMagic + 108, 16);
    if (!tree.empty()) {
        putLe32(bytes, TestResourceDirectory, TestResourceAddress);
        putLe32(bytes, TestResourceDirectory + 4, static_cast<uint32_t>(tree.size()));
    }
    putSection(bytes, SectionTable, ".text", CodeAddress, 16, code);
    bytes[code] = 0xC3;
    putSection(bytes, TestResourceSectionHeader, ".rsrc", TestResourceAddress,
               static_cast<uint32_t>(tree.size()), resourceSection);
    std::copy(tree.begin(), tree.end(), bytes.begin() + resourceSection);
    return {bytes, resourceSection};
}
