#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "wizard/format_number.h"

namespace {

struct Formatted {
    std::string text;
    uint32_t count;
};

// Formats into a heap block of exactly the formatter's capacity, pre-filled with a marker,
// so that a missing terminator or a write past the end shows up (the latter under ASan).
Formatted format(const char* pattern, uint32_t value) {
    auto block = std::make_unique<char[]>(FormatNumberCapacity);
    std::memset(block.get(), 'Z', FormatNumberCapacity);
    const uint32_t count = formatNumber(block.get(), pattern, value);
    EXPECT_LT(count, FormatNumberCapacity);
    EXPECT_EQ(block[count], '\0');
    return {std::string(block.get(), count), count};
}

TEST(FormatNumber, FiguresOfTheSpaceLines) {
    EXPECT_EQ(format("%u MB", 0).text, "0 MB");
    EXPECT_EQ(format("%u MB", 0).count, 4u);
    EXPECT_EQ(format("%u MB", 3).text, "3 MB");
    EXPECT_EQ(format("%u MB", 3).count, 4u);
    EXPECT_EQ(format("%u GB", 4294967295u).text, "4294967295 GB");
    EXPECT_EQ(format("%u GB", 4294967295u).count, 13u);
    EXPECT_EQ(format("%u TB", 4194304).text, "4194304 TB");
    EXPECT_EQ(format("%u TB", 4194304).count, 10u);
}

TEST(FormatNumber, XDirectiveWritesLowerCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(format("%x", 255).text, "ff");
    EXPECT_EQ(format("%x", 255).count, 2u);
    EXPECT_EQ(format("%x", 0xDEADBEEFu).text, "deadbeef");
    EXPECT_EQ(format("%x", 0x00ABCDEFu).text, "abcdef");
    EXPECT_EQ(format("%x", 0).text, "0");
    EXPECT_EQ(format("%x h", 16).text, "10 h");
}

TEST(FormatNumber, AnyOtherDirectiveIsDecimal) {
    EXPECT_EQ(format("%d", 1000).text, "1000");
    EXPECT_EQ(format("%X", 255).text, "255");
    EXPECT_EQ(format("%%", 7).text, "7");
    EXPECT_EQ(format("%u", 0).text, "0");
    EXPECT_EQ(format("%u", 1000000).text, "1000000");
}

TEST(FormatNumber, FormatWithoutPercentSignIsCopiedWhole) {
    EXPECT_EQ(format("Space", 5).text, "Space");
    EXPECT_EQ(format("Space", 5).count, 5u);
    EXPECT_EQ(format("", 5).text, "");
    EXPECT_EQ(format("", 5).count, 0u);
}

TEST(FormatNumber, PercentSignAtTheEndEndsTheOutput) {
    EXPECT_EQ(format("abc%", 42).text, "abc");
    EXPECT_EQ(format("abc%", 42).count, 3u);
    EXPECT_EQ(format("%", 42).text, "");
}

TEST(FormatNumber, TextAroundTheDirectiveIsLiteral) {
    EXPECT_EQ(format("n=%u.", 42).text, "n=42.");
    EXPECT_EQ(format("%u%u MB", 9).text, "9%u MB");
    EXPECT_EQ(format("%x%", 10).text, "a%");
}

TEST(FormatNumber, OutputStopsAtSixtyThreeCharacters) {
    const std::string longText(70, 'a');
    EXPECT_EQ(format(longText.c_str(), 1).text, std::string(63, 'a'));

    const std::string longPrefix = std::string(60, 'p') + "%u";
    EXPECT_EQ(format(longPrefix.c_str(), 4294967295u).text, std::string(60, 'p') + "429");

    const std::string longSuffix = "%u" + std::string(70, 's');
    EXPECT_EQ(format(longSuffix.c_str(), 12).text, "12" + std::string(61, 's'));

    const std::string fits = std::string(53, 'p') + "%u";
    EXPECT_EQ(format(fits.c_str(), 4294967295u).text, std::string(53, 'p') + "4294967295");
}

}  // namespace
