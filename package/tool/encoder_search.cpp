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
    uint32_t lc;
    uint32_t lp;
    uint32_t pb;
    uint32_t niceLength;
    uint32_t depth;
};

// The first is the setting of `xz -9e` (bt4, nice length 273, depth 512), so the smallest
// result is never larger than what that command makes of the same image. The other three
// came from a search over lc 0..4, pb 0..2, nice lengths 64..273 and depths 0..1000 on
// x86-64 executables: liblzma's optimum parser does better with a nice length of 128 than
// with 273 on such code, and the literal context that pays off depends on the code: lc 3
// pb 1 for small programs, lc 2 pb 0 and lc 1 pb 1 for large ones with debug sections.
constexpr Candidate DefaultCandidates[] = {
    {3, 0, 2, 273, 512},
    {3, 0, 1, 128, 0},
    {2, 0, 0, 128, 512},
    {1, 0, 1, 128, 512},
};

bool sameChoice(const EncoderSettings& a, const EncoderSettings& b) {
    return a.lc == b.lc && a.lp == b.lp && a.pb == b.pb && a.niceLength == b.niceLength &&
           a.depth == b.depth;
}

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
        const uint32_t lp = request.lp.value_or(candidate.lp);
        // A default lc yields to a requested lp.
        const uint32_t lc = request.lc.value_or(std::min(candidate.lc, LargestLiteralContext - lp));
        const EncoderSettings settings{lc,
                                       lp,
                                       request.pb.value_or(candidate.pb),
                                       dictionarySize,
                                       request.niceLength.value_or(candidate.niceLength),
                                       request.depth.value_or(candidate.depth)};
        if (std::none_of(candidates.begin(), candidates.end(),
                         [&](const EncoderSettings& known) { return sameChoice(known, settings); })) {
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
