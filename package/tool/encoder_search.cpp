#include "package/tool/encoder_search.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
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

// The grid of `build --best`, in the order 7-Zip users try it.
constexpr MatchFinder BestMatchFinders[] = {MatchFinder::Bt4, MatchFinder::Bt3};
constexpr uint32_t BestLargestLc = 4;
constexpr uint32_t BestLargestPb = 2;
constexpr uint32_t BestNiceLength = 273;

// The encodings that have ended: the smallest so far, and the earliest failure.
struct SearchState {
    std::mutex mutex;
    size_t ended = 0;
    size_t smallest = SIZE_MAX;  // index of the candidate
    std::vector<uint8_t> smallestResource;
    size_t failed = SIZE_MAX;
    std::exception_ptr failure;
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

std::vector<EncoderSettings> bestSettings(uint32_t imageLength) {
    std::vector<EncoderSettings> candidates = candidateSettings({}, imageLength);
    const uint32_t dictionarySize = defaultDictionarySize(imageLength);
    for (const MatchFinder matchFinder : BestMatchFinders) {
        for (uint32_t lc = 0; lc <= BestLargestLc; ++lc) {
            for (uint32_t pb = 0; pb <= BestLargestPb; ++pb) {
                const EncoderSettings settings{Encoder::SevenZip, lc, 0, pb, dictionarySize,
                                               matchFinder, BestNiceLength, DeepestSearchDepth};
                if (std::find(candidates.begin(), candidates.end(), settings) == candidates.end()) {
                    candidates.push_back(settings);
                }
            }
        }
    }
    return candidates;
}

EncodedPackage encodeSmallest(std::span<const uint8_t> image,
                              std::span<const EncoderSettings> candidates, unsigned threads,
                              const SearchProgress& progress) {
    SearchState state;
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    auto work = [&] {
        // Candidates are taken in order, so every one before the earliest failure runs.
        for (size_t i = next++; i < candidates.size() && !stop; i = next++) {
            std::vector<uint8_t> resource;
            std::exception_ptr failure;
            try {
                resource = encodePackage(image, candidates[i]);
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard lock(state.mutex);
            if (failure) {
                stop = true;
                if (i < state.failed) {
                    state.failed = i;
                    state.failure = failure;
                }
                continue;
            }
            ++state.ended;
            if (progress) {
                progress(state.ended, candidates[i], resource.size());
            }
            const size_t smallestSize = state.smallestResource.size();
            if (state.smallest == SIZE_MAX || resource.size() < smallestSize ||
                (resource.size() == smallestSize && i < state.smallest)) {
                state.smallest = i;
                state.smallestResource = std::move(resource);
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
    if (state.failure) {
        std::rethrow_exception(state.failure);
    }
    return {std::move(state.smallestResource), candidates[state.smallest]};
}
