#include "package/tool/encoder_search.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "package/package_types.h"

namespace {

constexpr uint32_t SmallestDictionary = 4096;
constexpr uint32_t LargestLiteralContext = 4;  // lc + lp

struct Candidate {
    Encoder encoder;
    uint32_t lc;
    uint32_t lp;
    uint32_t pb;
    MatchFinder matchFinder;
    uint32_t niceLength;
    uint32_t depth;
};

// The first is the setting of `xz -9e` (liblzma, bt4, nice length 273, depth 512), so the
// smallest result is never larger than what that command makes of the same image. The
// others are 7-Zip's, whose optimum parser does a little better on x86-64 code. They came
// from a search over lc 0..4, pb 0..2, bt2/bt3/bt4, fast bytes 96..273 and match cycles
// from 7-Zip's default to 4000 on five images of real executables (the sample pack, Wine's
// programs with and without their debug sections, MinGW's runtime DLLs): pb 1 always won;
// lc 3 with 7-Zip's deepest search (1000 cycles; more changed nothing) won on program code,
// with bt3 or bt4 depending on the image; lc 0 won where debug sections make up much of
// the image, and lc 4 at 224 fast bytes where code dominates, both with the default cycles
// (16 + fast bytes / 2), which beat deeper searches there.
constexpr Candidate DefaultCandidates[] = {
    {Encoder::Liblzma, 3, 0, 2, MatchFinder::Bt4, 273, 512},
    {Encoder::SevenZip, 3, 0, 1, MatchFinder::Bt3, 273, 1000},
    {Encoder::SevenZip, 3, 0, 1, MatchFinder::Bt4, 273, 1000},
    {Encoder::SevenZip, 0, 0, 1, MatchFinder::Bt3, 273, 0},
    {Encoder::SevenZip, 4, 0, 1, MatchFinder::Bt3, 224, 0},
};

}  // namespace

uint32_t defaultDictionarySize(uint32_t imageLength) {
    uint32_t size = SmallestDictionary;
    while (size < imageLength && size <= UnpackBlockSize) {
        const uint32_t between = size + size / 2;
        if (between >= imageLength) {
            return between;
        }
        size *= 2;
    }
    return size;
}

std::vector<EncoderSettings> candidateSettings(const EncoderRequest& request, uint32_t imageLength) {
    const uint32_t dictionarySize = request.dictionarySize.value_or(defaultDictionarySize(imageLength));
    std::vector<EncoderSettings> candidates;
    for (const Candidate& candidate : DefaultCandidates) {
        if (request.encoder && *request.encoder != candidate.encoder) {
            continue;
        }
        const uint32_t lp = request.lp.value_or(candidate.lp);
        // A default lc yields to a requested lp.
        const uint32_t lc = request.lc.value_or(std::min(candidate.lc, LargestLiteralContext - lp));
        const EncoderSettings settings{candidate.encoder,
                                       lc,
                                       lp,
                                       request.pb.value_or(candidate.pb),
                                       dictionarySize,
                                       request.matchFinder.value_or(candidate.matchFinder),
                                       request.niceLength.value_or(candidate.niceLength),
                                       request.depth.value_or(candidate.depth)};
        const bool encodable = settings.encoder != Encoder::SevenZip ||
                               settings.niceLength >= SevenZipShortestNiceLength;
        if (encodable && std::find(candidates.begin(), candidates.end(), settings) == candidates.end()) {
            candidates.push_back(settings);
        }
    }
    return candidates;
}

EncodedPackage encodeSmallest(std::span<const uint8_t> image,
                              std::span<const EncoderSettings> candidates, unsigned threads) {
    std::vector<std::vector<uint8_t>> results(candidates.size());
    std::vector<std::exception_ptr> failures(candidates.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < candidates.size(); i = next++) {
            try {
                results[i] = encodePackage(image, candidates[i]);
            } catch (...) {
                failures[i] = std::current_exception();
            }
        }
    };
    const size_t workers = std::clamp<size_t>(threads, 1, candidates.size());
    std::vector<std::thread> pool;
    for (size_t i = 1; i < workers; ++i) {
        pool.emplace_back(work);
    }
    work();
    for (std::thread& thread : pool) {
        thread.join();
    }

    size_t best = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (failures[i]) {
            std::rethrow_exception(failures[i]);
        }
        if (results[i].size() < results[best].size()) {
            best = i;
        }
    }
    return {std::move(results[best]), candidates[best]};
}
