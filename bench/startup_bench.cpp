// Start-up on the host: the installer's loader sequence (allocate, decode, checksum, table)
// against a bare liblzma decode of the same stream into a ready buffer, alternating in one
// run; and the loader's peak heap, counted through liblzma's allocator hook plus the block.
//   startup_bench PACKAGE LABEL [ROUNDS]
#include <lzma.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/counting_allocator.h"
#include "package/lzma_raw_decoder.h"
#include "package/package_checksum.h"
#include "package/package_loader.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t PropertiesSize = 5;
constexpr double MiB = 1024.0 * 1024.0;

std::vector<uint8_t> readWhole(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "startup_bench: cannot read %s\n", path);
        std::exit(1);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// liblzma on its own: the filter from the 5 properties bytes, one raw decoder, the whole
// stream into out. Returns the bytes written.
size_t bareDecode(const std::vector<uint8_t>& resource, uint8_t* out, size_t capacity) {
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
    if (lzma_properties_decode(&filters[0], nullptr, resource.data(), PropertiesSize) != LZMA_OK) {
        return 0;
    }
    lzma_stream stream = LZMA_STREAM_INIT;
    const lzma_ret started = lzma_raw_decoder(&stream, filters);
    std::free(filters[0].options);
    if (started != LZMA_OK) {
        return 0;
    }
    stream.next_in = resource.data() + PropertiesSize;
    stream.avail_in = resource.size() - PropertiesSize;
    stream.next_out = out;
    stream.avail_out = capacity;
    while (lzma_code(&stream, LZMA_FINISH) == LZMA_OK) {
    }
    const size_t written = capacity - stream.avail_out;
    lzma_end(&stream);
    return written;
}

// What the decoder itself needs for this stream's dictionary, as liblzma computes it.
uint64_t decoderNeed(const std::vector<uint8_t>& resource) {
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
    if (lzma_properties_decode(&filters[0], nullptr, resource.data(), PropertiesSize) != LZMA_OK) {
        return 0;
    }
    const uint64_t need = lzma_raw_decoder_memusage(filters);
    std::free(filters[0].options);
    return need;
}

PackageStatus loadOnce(const std::vector<uint8_t>& resource, const PackageConstants& expected) {
    UnpackBuffer unpacked{};
    PackageEntry entries[PackageEntryCount]{};
    const PackageStatus status = unpackPackage(
        resource.data(), static_cast<uint32_t>(resource.size()), expected, unpacked, entries);
    unpacked.release();
    return status;
}

struct Times {
    double bare;
    double loader;
    double checksum;
    double freshBlock;  // allocate a zeroed block, then the bare decode into it
};

// Median seconds of each, alternating so that all see the same machine load.
Times timeAll(const std::vector<uint8_t>& resource, const PackageConstants& expected, int rounds) {
    std::vector<uint8_t> out(UnpackBlockSize);
    std::vector<double> bare, loader, checksum, freshBlock;
    for (int i = -2; i < rounds; ++i) {
        Clock::time_point start = Clock::now();
        const size_t written = bareDecode(resource, out.data(), out.size());
        const double bareTime = seconds(start);
        start = Clock::now();
        const PackageStatus status = loadOnce(resource, expected);
        const double loaderTime = seconds(start);
        start = Clock::now();
        const uint32_t sum = packageChecksum(out.data(), written);
        const double checksumTime = seconds(start);
        start = Clock::now();
        UnpackBuffer block{};
        const size_t freshWritten = bareDecode(resource, block.allocate(), UnpackBlockSize);
        block.release();
        const double freshTime = seconds(start);
        if (written != expected.imageLength || status != Ok || sum != expected.checksum ||
            freshWritten != written) {
            std::fprintf(stderr, "startup_bench: the package does not load\n");
            std::exit(1);
        }
        if (i >= 0) {  // the first two rounds only warm up
            bare.push_back(bareTime);
            loader.push_back(loaderTime);
            checksum.push_back(checksumTime);
            freshBlock.push_back(freshTime);
        }
    }
    return {median(bare), median(loader), median(checksum), median(freshBlock)};
}

void printSpeeds(const std::string& label, uint32_t length, const Times& times) {
    const std::string area = "start-up, " + label;
    auto speed = [&](double time) {
        return format("%.1f ms, %.0f MB/s, %.3f x bare", time * 1e3, length / time / 1e6,
                      time / times.bare);
    };
    printRow({area, "bare liblzma decode into a ready buffer", speed(times.bare), "-", "-"});
    printRow({area, "loader sequence (allocate, decode, checksum, table)", speed(times.loader),
              "within 10 % of bare", holdsText(times.loader <= 1.10 * times.bare)});
    printRow({area, "of which: zeroed 4 MiB block + decode into it", speed(times.freshBlock), "-",
              "-"});
    printRow({area, "of which: checksum alone", speed(times.checksum), "-", "-"});
}

// One load with the decoder's memory counted; the block comes on top of it.
void printFootprint(const std::string& label, const std::vector<uint8_t>& resource,
                    const PackageConstants& expected) {
    CountingAllocator counter;
    setLzmaDecoderAllocator(counter.hook());
    const PackageStatus status = loadOnce(resource, expected);
    setLzmaDecoderAllocator(nullptr);
    const double peak = static_cast<double>(counter.peak() + UnpackBlockSize);
    const double goal = static_cast<double>(decoderNeed(resource) + UnpackBlockSize);
    printRow({"footprint, " + label, "loader peak heap: 4 MiB block + decoder",
              format("%.2f MiB (decoder %.2f MiB in %zu blocks)%s", peak / MiB,
                     counter.peak() / MiB, counter.allocations(),
                     status == Ok ? "" : ", load FAILED"),
              format("<= block + decoder need %.2f MiB", goal / MiB),
              holdsText(status == Ok && counter.allocations() > 0 && peak <= goal)});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench PACKAGE LABEL [ROUNDS]\n");
        return 2;
    }
    const std::vector<uint8_t> resource = readWhole(argv[1]);
    const std::string label = argv[2];
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 21;

    // The package's own constants, as the build writes them for the installer.
    std::vector<uint8_t> image(UnpackBlockSize);
    const uint32_t length = decodeRawLzma(resource.data(), static_cast<uint32_t>(resource.size()),
                                          image.data(), static_cast<uint32_t>(image.size()));
    const PackageConstants expected{static_cast<uint32_t>(resource.size()), length,
                                    packageChecksum(image.data(), length)};

    printSpeeds(label, length, timeAll(resource, expected, rounds));
    printFootprint(label, resource, expected);
    return 0;
}
