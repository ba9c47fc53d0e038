#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/win/wizard_window.h"
#include "wizard/pages.h"

namespace {

// Fills the pages again with a licence entry of the test's own making in place of the
// package's, and gives back what the licence field shows.
class LicenceText : public WizardWindow {
protected:
    std::string shown(std::vector<uint8_t> image, uint32_t offset, uint32_t size) {
        const UnpackBuffer package = setup.context.unpacked;
        const PackageEntry licence = setup.context.entries[0];
        setup.context.unpacked = {image.data(), 0, static_cast<uint32_t>(image.size()),
                                  static_cast<uint32_t>(image.size())};
        setup.context.entries[0] = {offset, size, {}};
        std::memset(setup.context.scratch.text, 'Z', ScratchBytes);
        initPages(window());
        scratchAfter.assign(setup.context.scratch.text, ScratchBytes);
        setup.context.unpacked = package;
        setup.context.entries[0] = licence;
        return textA(Licence, 1004);
    }

    static std::vector<uint8_t> letters(size_t count) {
        std::vector<uint8_t> bytes(count);
        for (size_t i = 0; i < count; ++i) {
            bytes[i] = static_cast<uint8_t>('a' + i % 26);
        }
        return bytes;
    }

    std::string scratchAfter;
};

}  // namespace

TEST_F(LicenceText, LongEntriesShowTheirFirst511Bytes) {
    const std::vector<uint8_t> image = letters(2000);
    const std::string first511(image.begin(), image.begin() + 511);
    EXPECT_EQ(shown(image, 0, 600), first511);
    EXPECT_EQ(shown(image, 0, 511), first511);
    EXPECT_EQ(shown(image, 0, 0xFFFFFFFFu), first511) << "the minimum is unsigned";
    EXPECT_EQ(scratchAfter[511], '\0');
}

TEST_F(LicenceText, ShorterEntriesShowWholeFromTheirOffset) {
    const std::vector<uint8_t> image = letters(2000);
    EXPECT_EQ(shown(image, 100, 510), std::string(image.begin() + 100, image.begin() + 610));
    EXPECT_EQ(scratchAfter.substr(510), std::string(2, '\0'));
    EXPECT_EQ(shown(image, 0, 3), "abc");
    EXPECT_EQ(scratchAfter.substr(3), std::string(ScratchBytes - 3, '\0')) << "scratch zeroed";
}

TEST_F(LicenceText, LineBreaksAreKeptAndAZeroByteEndsTheText) {
    const std::string text = "First line\r\nSecond line\r\n";
    std::vector<uint8_t> image(text.begin(), text.end());
    EXPECT_EQ(shown(image, 0, static_cast<uint32_t>(image.size())), text);

    image = letters(300);
    image[100] = 0;
    EXPECT_EQ(shown(image, 0, 300), std::string(image.begin(), image.begin() + 100));
}

TEST_F(LicenceText, NothingIsReadPastTheEndOfTheImage) {
    const std::vector<uint8_t> image = letters(300);
    EXPECT_EQ(shown(image, 200, 511), std::string(image.begin() + 200, image.end()));
    EXPECT_EQ(shown(image, 300, 10), "");
    EXPECT_EQ(shown(image, 5000, 10), "");
}
