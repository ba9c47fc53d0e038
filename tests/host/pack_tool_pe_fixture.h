// Small 64-bit Windows programs for the tests of the installer reader, laid out as the
// linker lays out the installer: DOS header, PE signature, COFF and PE32+ optional headers,
// a section table, a code section and last a resource section whose tree (types, names,
// languages) is sorted as linkers sort it. The tests change single fields of it.
#pragma once

#include <cstdint>
#include <vector>

struct TestResource {
    uint16_t type;
    uint16_t id;
    uint16_t language;
    std::vector<uint8_t> data;
};

struct TestProgram {
    std::vector<uint8_t> bytes;
    uint32_t resourceSection;  // file offset of the resource tree; its raw data ends the file
};

// File offsets of the headers' fields.
constexpr uint32_t TestPeHeader = 0x40;
constexpr uint32_t TestSectionCount = TestPeHeader + 6;
constexpr uint32_t TestOptionalMagic = TestPeHeader + 24;
constexpr uint32_t TestResourceDirectory = TestOptionalMagic + 128;  // address, then size
constexpr uint32_t TestResourceSectionHeader = TestOptionalMagic + 240 + 40;
constexpr uint32_t TestResourceAddress = 0x2000;

// With one resource the tree is: the types at 0 (their entry at 16), the names at 24 (entry
// at 40), the languages at 48 (entry at 64), the data entry at 72 and the data at 88.
constexpr uint32_t TestTypeEntry = 16;
constexpr uint32_t TestNameEntry = 40;
constexpr uint32_t TestLanguageEntry = 64;
constexpr uint32_t TestDataEntry = 72;
constexpr uint32_t TestData = 88;

// No resources at all leaves the resource directory empty.
TestProgram testProgram(const std::vector<TestResource>& resources);

void putLe16(std::vector<uint8_t>& bytes, uint32_t offset, uint16_t value);
void putLe32(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value);
