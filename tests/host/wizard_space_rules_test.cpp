#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "wizard/space_rules.h"

namespace {

constexpr uint64_t GiB = 1ull << 30;

// The two lines in a heap block of exactly the bytes they may touch, as scratch holds them.
class SpaceLines : public ::testing::Test {
protected:
    std::unique_ptr<char[]> lines = std::make_unique<char[]>(SpaceLinesExtent);

    std::string required(uint32_t bytes) {
        writeRequiredLine(lines.get(), bytes);
        return lines.get();
    }
    std::string available(uint64_t freeBytes) {
        writeRequiredLine(lines.get(), 2452992);
        writeAvailableLine(lines.get(), freeBytes);
        return lines.get();
    }
};

TEST_F(SpaceLines, RequiredLineRoundsUpToWholeMegabytes) {
    EXPECT_EQ(required(0), "Space required:  0 MB");
    EXPECT_EQ(required(1), "Space required:  1 MB");
    EXPECT_EQ(required(1048576), "Space required:  1 MB");
    EXPECT_EQ(required(1048577), "Space required:  2 MB");
    EXPECT_EQ(required(2452992), "Space required:  3 MB");
}

TEST_F(SpaceLines, RequiredLineZeroesTheFirstSixtyFourBytes) {
    std::memset(lines.get(), 'Z', SpaceLinesExtent);
    required(5);
    for (uint32_t i = 22; i < SpaceLinesZeroed; ++i) {
        EXPECT_EQ(lines[i], '\0') << "byte " << i;
    }
}

TEST_F(SpaceLines, AvailableLineUsesTheSmallestUnitThatFitsThirtyTwoBits) {
    EXPECT_EQ(available(100 * GiB), "Space available: 102400 MB");
    EXPECT_EQ(available((1ull << 52) - 1), "Space available: 4294967295 MB");
    EXPECT_EQ(available(1ull << 52), "Space available: 4194304 GB");
    EXPECT_EQ(available((1ull << 62) - 1), "Space available: 4294967295 GB");
    EXPECT_EQ(available(1ull << 62), "Space available: 4194304 TB");
    EXPECT_EQ(available(MissingFreeSpace - 1), "Space available: 16777215 TB");
}

TEST_F(SpaceLines, AvailableLineRoundsDown) {
    EXPECT_EQ(available(1048575), "Space available: 0 MB");
    EXPECT_EQ(available(3 * 1048576 + 1048575), "Space available: 3 MB");
}

TEST_F(SpaceLines, MissingFigureShowsAQuestionMark) {
    EXPECT_EQ(available(MissingFreeSpace), "Space available: ?");
}

TEST(SpaceRules, FreeSpaceOfFourGibibytesOrMoreCountsAsFourGibibytesLessOne) {
    EXPECT_EQ(clampFreeSpace(0), 0u);
    EXPECT_EQ(clampFreeSpace(0xFFFFFFFEu), 0xFFFFFFFEu);
    EXPECT_EQ(clampFreeSpace(0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(clampFreeSpace(4 * GiB), 0xFFFFFFFFu);
    EXPECT_EQ(clampFreeSpace(100 * GiB), 0xFFFFFFFFu);
    EXPECT_EQ(clampFreeSpace(MissingFreeSpace), 0xFFFFFFFFu);
}

TEST(SpaceRules, InstallNeedsSomethingChosenThatFitsStrictly) {
    constexpr size_t ShortDir = 30;
    EXPECT_FALSE(installAllowed(0, clampFreeSpace(100 * GiB), ShortDir));
    EXPECT_FALSE(installAllowed(2452992, 2452992, ShortDir));
    EXPECT_TRUE(installAllowed(2452992, 2452993, ShortDir));
    EXPECT_FALSE(installAllowed(2452992, 0, ShortDir));
    EXPECT_TRUE(installAllowed(0xFFFFFFFEu, clampFreeSpace(1ull << 40), ShortDir));
    EXPECT_FALSE(installAllowed(0xFFFFFFFFu, clampFreeSpace(1ull << 40), ShortDir));
    EXPECT_TRUE(installAllowed(2452992, clampFreeSpace(MissingFreeSpace), ShortDir));
}

TEST(SpaceRules, InstallNeedsADestinationThatLeavesRoomForTheFileNames) {
    const uint32_t enough = clampFreeSpace(100 * GiB);
    EXPECT_TRUE(installAllowed(2452992, enough, 245));
    EXPECT_FALSE(installAllowed(2452992, enough, 246));
    EXPECT_FALSE(installAllowed(2452992, enough, 260));
}

TEST(SpaceRules, RequiredBytesCountTheCheckedApplicationsAndTheUninstaller) {
    PackageEntry entries[PackageEntryCount] = {};
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        entries[i].size = 1u << (2 * i);
    }
    uint32_t allEight = 0;
    for (uint32_t i = 1; i <= 8; ++i) {
        allEight += entries[i].size;
    }
    EXPECT_EQ(requiredBytesFor(entries, 0), 0u);
    EXPECT_EQ(requiredBytesFor(entries, 0xFF), allEight + entries[10].size);
    EXPECT_EQ(requiredBytesFor(entries, 1u << 4), entries[5].size + entries[10].size);
    EXPECT_EQ(requiredBytesFor(entries, 0x100), 0u);
}

TEST(SpaceRules, NothingIsAddedForChosenApplicationsOfSizeZero) {
    PackageEntry entries[PackageEntryCount] = {};
    entries[10].size = 500;
    EXPECT_EQ(requiredBytesFor(entries, 0xFF), 0u);
}

TEST(DestinationLength, CountsOneTrailingBackslash) {
    EXPECT_EQ(destinationChars(L"C:\\Apps"), 8u);
    EXPECT_EQ(destinationChars(L"C:\\Apps\\"), 8u);
    EXPECT_EQ(destinationChars(L"C:\\Apps/"), 8u);
    EXPECT_EQ(destinationChars(L"D:\\"), 3u);
    EXPECT_EQ(destinationChars(L""), 1u);
}

TEST(DestinationLength, FoldersUpToTheLimitFit) {
    const std::wstring base = L"C:\\";
    EXPECT_TRUE(destinationFits((base + std::wstring(241, L'a')).c_str()));
    EXPECT_FALSE(destinationFits((base + std::wstring(242, L'a')).c_str()));
    EXPECT_TRUE(destinationFits((base + std::wstring(241, L'a') + L"\\").c_str()));
    EXPECT_FALSE(destinationFits((base + std::wstring(256, L'a')).c_str()));
}

}  // namespace
