#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "package/package_types.h"
#include "tests/win/install_test_files.h"

namespace {

// 2001-02-03 04:05:06 UTC, far from any time a test runs at.
constexpr FileTime StoredTime = {0x7DB50500u, 0x01C08D96u};
constexpr uint32_t ImageLength = 300000;

// A block laid out as the loader leaves it: an image of patterned bytes, zeros behind it.
class FileWriter : public ::testing::Test {
protected:
    void SetUp() override {
        block.assign(UnpackBlockSize, 0);
        for (uint32_t i = 0; i < ImageLength; ++i) {
            block[i] = static_cast<uint8_t>(i * 7 + i / 256 + 1);
        }
        buffer = {block.data(), 0, UnpackBlockSize, UnpackBlockSize};
        folder = freshFolder(L"writer");
    }

    std::vector<uint8_t> blockRange(uint32_t offset, uint32_t count) const {
        return {block.begin() + offset, block.begin() + offset + count};
    }

    std::vector<uint8_t> block;
    UnpackBuffer buffer{};
    std::wstring folder;
};

}  // namespace

TEST_F(FileWriter, WritesTheRangeAndGivesItTheStoredLastWriteTimeOnly) {
    const std::wstring path = folder + L"entry.exe";
    const uint64_t before = now();
    ASSERT_EQ(buffer.writeToFile(path.c_str(), 132, 20000, &StoredTime), Ok);
    EXPECT_EQ(readFile(path), blockRange(132, 20000));
    const FileTimes times = fileTimes(path);
    EXPECT_EQ(times.write.dwLowDateTime, StoredTime.lowDateTime);
    EXPECT_EQ(times.write.dwHighDateTime, StoredTime.highDateTime);
    // The access time is the system's, around now, not the stored time. (Wine keeps no
    // creation time of its own: it reports the last-write time, so it cannot show more.)
    EXPECT_GE(ticks(times.access) + 2 * TicksPerSecond, before);
    EXPECT_TRUE(openExclusively(path));
}

TEST_F(FileWriter, WithoutATimeTheFileKeepsTheTimeOfWriting) {
    const std::wstring path = folder + L"uninstall.exe";
    const uint64_t before = now();
    ASSERT_EQ(buffer.writeToFile(path.c_str(), 1000, 5000, nullptr), Ok);
    EXPECT_EQ(readFile(path), blockRange(1000, 5000));
    EXPECT_GE(ticks(fileTimes(path).write) + 2 * TicksPerSecond, before);
}

TEST_F(FileWriter, OffsetAtTheEndOfTheBlockGivesAnEmptyFile) {
    const std::wstring path = folder + L"end.bin";
    ASSERT_EQ(buffer.writeToFile(path.c_str(), UnpackBlockSize, 10, nullptr), Ok);
    EXPECT_TRUE(fileExists(path));
    EXPECT_TRUE(readFile(path).empty());
}

TEST_F(FileWriter, RejectedArgumentsCreateNothing) {
    const std::wstring path = folder + L"rejected.bin";
    EXPECT_EQ(buffer.writeToFile(path.c_str(), UnpackBlockSize + 1, 0, nullptr), CannotCreate);
    EXPECT_EQ(buffer.writeToFile(nullptr, 0, 10, nullptr), CannotCreate);
    UnpackBuffer released{};
    EXPECT_EQ(released.writeToFile(path.c_str(), 0, 0, nullptr), CannotCreate);
    EXPECT_FALSE(fileExists(path));
}

TEST_F(FileWriter, CountPastTheBlockIsCutToWhatRemains) {
    const std::wstring path = folder + L"tail.bin";
    block[UnpackBlockSize - 1] = 0xA5;
    ASSERT_EQ(buffer.writeToFile(path.c_str(), 4194000, 1000, nullptr), Ok);
    const std::vector<uint8_t> bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 304u);
    EXPECT_EQ(bytes.back(), 0xA5);
}

TEST_F(FileWriter, CountZeroGivesAnEmptyFileWithTheStoredTime) {
    const std::wstring path = folder + L"empty.bin";
    ASSERT_EQ(buffer.writeToFile(path.c_str(), 500, 0, &StoredTime), Ok);
    EXPECT_TRUE(fileExists(path));
    EXPECT_TRUE(readFile(path).empty());
    EXPECT_EQ(fileTimes(path).write.dwHighDateTime, StoredTime.highDateTime);
}

TEST_F(FileWriter, RangeBeyondTheImageIsWrittenAsZeros) {
    const std::wstring path = folder + L"zeros.bin";
    ASSERT_EQ(buffer.writeToFile(path.c_str(), ImageLength - 16, 4096, nullptr), Ok);
    const std::vector<uint8_t> bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 4096u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 16),
              blockRange(ImageLength - 16, 16));
    EXPECT_TRUE(std::all_of(bytes.begin() + 16, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(FileWriter, ExistingFileIsReplaced) {
    const std::wstring path = folder + L"old.exe";
    writeFile(path, std::string(50000, 'x'));
    ASSERT_EQ(buffer.writeToFile(path.c_str(), 0, 100, nullptr), Ok);
    EXPECT_EQ(readFile(path), blockRange(0, 100));
}

TEST_F(FileWriter, FileThatCannotBeCreatedGivesCannotCreate) {
    EXPECT_EQ(buffer.writeToFile((folder + L"missing\\a.exe").c_str(), 0, 10, nullptr),
              CannotCreate);
    // A folder standing where the file should go.
    const std::wstring taken = folder + L"taken.exe";
    CreateDirectoryW(taken.c_str(), nullptr);
    EXPECT_EQ(buffer.writeToFile(taken.c_str(), 0, 10, nullptr), CannotCreate);
    EXPECT_TRUE(folderExists(taken));
    // A file held open without sharing by someone else.
    const std::wstring held = folder + L"held.exe";
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(buffer.writeToFile(held.c_str(), 0, 10, nullptr), CannotCreate);
    CloseHandle(holder);
}

TEST_F(FileWriter, FailedWriteGivesWriteFailedKeepsTheFileAndClosesIt) {
    // A block whose second page cannot be read: the one write of the range must fail.
    const DWORD page = 4096;
    auto* pages = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD oldProtection = 0;
    VirtualProtect(pages + page, page, PAGE_NOACCESS, &oldProtection);
    UnpackBuffer unreadable{pages, 0, 2 * page, 2 * page};
    const std::wstring path = folder + L"short.bin";
    EXPECT_EQ(unreadable.writeToFile(path.c_str(), 0, 2 * page, &StoredTime), WriteFailed);
    EXPECT_TRUE(fileExists(path));
    EXPECT_TRUE(openExclusively(path));
    EXPECT_NE(fileTimes(path).write.dwHighDateTime, StoredTime.highDateTime);
    VirtualFree(pages, 0, MEM_RELEASE);
}
