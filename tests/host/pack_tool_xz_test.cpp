// The package streams checked by an LZMA implementation nobody here wrote: the xz command
// must decode them, behind the 13-byte header of the .lzma format with an unknown size, to
// exactly the image; and the default build must not be larger than `xz --format=lzma -9e`.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "pack_tool_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t PropertiesSize = 5;
constexpr size_t LzmaAloneHeaderSize = 13;

int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PackToolAgainstXz : public testing::Test {
protected:
    void SetUp() override {
        unsetenv("SOURCE_DATE_EPOCH");
        // About 1.2 MB of machine code, like a small pack.
        manifest = writeInputs(folder.path() / "in", files);
        image = layoutImage(files);
    }

    // The .lzma file: properties and dictionary size, the size field "unknown", the stream.
    std::string asLzmaFile(const std::vector<uint8_t>& resource, const std::string& name) {
        std::vector<uint8_t> file(resource.begin(), resource.begin() + PropertiesSize);
        file.insert(file.end(), 8, 0xFF);
        file.insert(file.end(), resource.begin() + PropertiesSize, resource.end());
        writeBytes(folder / name, file);
        return folder / name;
    }

    std::vector<uint8_t> decodedByXz(const std::string& lzmaFile) {
        const std::string out = lzmaFile + ".out";
        EXPECT_EQ(shell("xz --format=lzma --decompress --stdout '" + lzmaFile + "' > '" + out + "'"), 0);
        return readBytes(out);
    }

    const PackageFiles files = sampleFiles(6);
    TemporaryFolder folder;
    std::string manifest;
    std::vector<uint8_t> image;
};

TEST_F(PackToolAgainstXz, XzDecodesTheStreamToTheImage) {
    const std::string package = folder / "default.pkg";
    ASSERT_EQ(runTool({"build", manifest, "-o", package}).exitCode, 0);
    EXPECT_EQ(decodedByXz(asLzmaFile(readBytes(package), "default.lzma")), image);

    // Each encoder at the edges of the settings: a dictionary far smaller than the image, no
    // literal context, the most position bits.
    for (const std::string encoder : {"liblzma", "7zip"}) {
        const std::string unusual = folder / (encoder + ".pkg");
        ASSERT_EQ(runTool({"build", manifest, "-o", unusual, "--encoder", encoder, "--lc", "0", "--lp", "4", "--pb",
                           "4", "--dict", "4096", "--mf", "hc4", "--nice", "5", "--depth", "1"})
                      .exitCode,
                  0);
        EXPECT_EQ(decodedByXz(asLzmaFile(readBytes(unusual), encoder + ".lzma")), image) << encoder;
    }
}

TEST_F(PackToolAgainstXz, DefaultStreamIsNotLargerThanXz9e) {
    const std::string package = folder / "default.pkg";
    ASSERT_EQ(runTool({"build", manifest, "-o", package}).exitCode, 0);
    writeBytes(folder / "image", image);
    ASSERT_EQ(shell("xz --format=lzma -9e --stdout '" + (folder / "image") + "' > '" + (folder / "image.lzma") + "'"),
              0);
    const size_t ours = readBytes(package).size() - PropertiesSize;
    const size_t theirs = readBytes(folder / "image.lzma").size() - LzmaAloneHeaderSize;
    ASSERT_GT(theirs, 0u);
    EXPECT_LE(ours, theirs);
    RecordProperty("stream_bytes", std::to_string(ours));
    RecordProperty("xz_9e_stream_bytes", std::to_string(theirs));
}

}  // namespace
