// The installer reader on small programs made to measure: it finds resource 102 as the
// loader would, says why a program holds none, and refuses hostile headers and trees
// (truncated, addresses outside the sections, sizes beyond the file, loops) with a reason.
#include <gtest/gtest.h>

#include <string>

#include "pack_tool_pe_fixture.h"
#include "package/tool/pe_resource.h"

namespace {

const std::vector<uint8_t> Package = {0x5D, 0, 0, 1, 0, 0, 0x41, 0x42, 0x43};
const std::vector<uint8_t> Other = {1, 2, 3};

TestProgram installer() { return testProgram({{10, 102, 1033, Package}}); }

std::vector<uint8_t> resourceOf(const std::vector<uint8_t>& bytes) {
    const PeResourceSearch search = findPackageResource(bytes);
    if (!search.resource) {
        ADD_FAILURE() << search.problem;
        return {};
    }
    const auto start = bytes.begin() + static_cast<ptrdiff_t>(search.resource->fileOffset);
    return {start, start + search.resource->size};
}

std::string problemOf(const std::vector<uint8_t>& bytes) {
    const PeResourceSearch search = findPackageResource(bytes);
    EXPECT_FALSE(search.resource);
    return search.problem;
}

// Why the installer with one 32-bit field changed holds no package.
std::string problemWith(uint32_t offset, uint32_t value) {
    std::vector<uint8_t> bytes = installer().bytes;
    putLe32(bytes, offset, value);
    return problemOf(bytes);
}

TEST(PeResource, FindsResource102InUsEnglishOrInItsOnlyLanguage) {
    const TestProgram program = installer();
    const PeResourceSearch search = findPackageResource(program.bytes);
    ASSERT_TRUE(search.resource) << search.problem;
    EXPECT_EQ(search.resource->fileOffset, program.resourceSection + TestData);
    EXPECT_EQ(search.resource->size, Package.size());
    EXPECT_EQ(search.resource->language, 1033u);
    EXPECT_EQ(search.problem, "");

    // Among other types, names and languages, as in a real installer.
    const std::vector<uint8_t> german = {4, 4, 4};
    const TestProgram crowded = testProgram({{3, 1, 1033, Other},
                                             {10, 101, 1033, Other},
                                             {10, 102, 1031, german},
                                             {10, 102, 1033, Package},
                                             {10, 102, 1036, Other},
                                             {10, 103, 1033, Other},
                                             {16, 1, 1033, Other},
                                             {24, 1, 1033, Other}});
    EXPECT_EQ(resourceOf(crowded.bytes), Package);
    EXPECT_EQ(resourceOf(testProgram({{10, 102, 1031, german}}).bytes), german);
    EXPECT_EQ(problemOf(testProgram({{10, 102, 1031, german}, {10, 102, 1036, Other}}).bytes),
              "resource 102 of type RCDATA has 2 languages, and none is 1033");
}

TEST(PeResource, SaysWhyAFileHoldsNoPackage) {
    EXPECT_EQ(problemOf(testProgram({}).bytes),
              "no resource 102 of type RCDATA (the program has no resources)");
    EXPECT_EQ(problemOf(testProgram({{16, 1, 1033, Other}, {24, 1, 1033, Other}}).bytes),
              "no resource 102 of type RCDATA");
    EXPECT_EQ(problemOf(testProgram({{10, 101, 1033, Package}}).bytes), "no resource 102 of type RCDATA");
    EXPECT_EQ(problemOf(testProgram({{10, 102, 1033, {}}}).bytes), "resource 102 of type RCDATA is empty");
    EXPECT_EQ(problemOf(Package), "not a PE file");

    std::vector<uint8_t> bytes = installer().bytes;
    putLe16(bytes, TestOptionalMagic, 0x10B);
    EXPECT_EQ(problemOf(bytes), "not a 64-bit program: its optional header is not PE32+");
    putLe32(bytes, 0x3C, 0xFFFFFFF0u);
    EXPECT_EQ(problemOf(bytes), "not a PE file: no PE signature at offset 4294967280");
}

TEST(PeResource, RefusesEveryTruncation) {
    const std::vector<uint8_t> bytes = installer().bytes;
    for (size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(length));
        EXPECT_NE(problemOf(cut), "") << length;
    }
    EXPECT_EQ(problemOf({'M', 'Z', 0}), "the DOS header lies beyond the end of the file");
    EXPECT_EQ(problemOf({bytes.begin(), bytes.begin() + TestResourceSectionHeader + 8}),
              "the section table lies beyond the end of the file");
}

TEST(PeResource, RefusesAddressesAndSizesOutsideTheFile) {
    const TestProgram program = installer();
    const uint32_t tree = program.resourceSection;
    EXPECT_EQ(problemWith(tree + TestDataEntry, 0x9000),
              "the data of resource 102 (address 0x9000, 9 bytes) lies in no section");
    EXPECT_EQ(problemWith(tree + TestDataEntry + 4, 0xFFFFFFF0u),
              "the data of resource 102 (address 0x2058, 4294967280 bytes) lies beyond its "
              "section's data in the file");
    // Inside the section in memory, but past what the file holds of it.
    std::vector<uint8_t> bytes = program.bytes;
    putLe32(bytes, TestResourceSectionHeader + 8, 0x10000);
    putLe32(bytes, tree + TestDataEntry, TestResourceAddress + 0x8000);
    EXPECT_EQ(problemOf(bytes),
              "the data of resource 102 (address 0xA000, 9 bytes) lies beyond its section's data in "
              "the file");
    EXPECT_EQ(problemWith(TestResourceDirectory, 0x50000),
              "the resource directory (address 0x50000, 16 bytes) lies in no section");
    EXPECT_EQ(problemWith(TestResourceSectionHeader + 20, 0x7FFFFFFF),
              "the section of the resource directory (address 0x2000, 16 bytes) runs past the end "
              "of the file");
    EXPECT_EQ(problemWith(TestSectionCount, 0xFFFF), "the section table lies beyond the end of the file");
    EXPECT_EQ(problemWith(tree + 12, 0xFFFFFFFFu),
              "the entries of the table of resource types lie beyond the end of the resource directory");
    EXPECT_EQ(problemWith(tree + TestLanguageEntry + 4, 0x7FFFFFF0),
              "the data entry of resource 102 lies beyond the end of the resource directory");
}

TEST(PeResource, RefusesLoopsAndMisplacedEntriesInTheTree) {
    const uint32_t tree = installer().resourceSection;
    const auto changed = [&](uint32_t entry, uint32_t target) { return problemWith(tree + entry + 4, target); };
    // Each level pointed back up the tree: the search stays three levels deep and ends.
    EXPECT_EQ(changed(TestTypeEntry, 0x80000000u), "no resource 102 of type RCDATA");
    EXPECT_EQ(changed(TestNameEntry, 0x80000000u | 24),
              "the entry for resource 102 in language 102 is a table, not data");
    EXPECT_EQ(changed(TestLanguageEntry, 0x80000000u),
              "the entry for resource 102 in language 1033 is a table, not data");
    EXPECT_EQ(changed(TestTypeEntry, 24), "the entry for the RCDATA resources is data, not a table");

    // The loader halves the tables to look an id up: an unsorted one is refused.
    std::vector<uint8_t> bytes = testProgram({{10, 102, 1033, Package}, {16, 1, 1033, Other}}).bytes;
    const uint32_t first = tree + TestTypeEntry;
    std::swap_ranges(bytes.begin() + first, bytes.begin() + first + 8, bytes.begin() + first + 8);
    EXPECT_EQ(problemOf(bytes), "the integer ids of the table of resource types are not in ascending order");
}

}  // namespace
