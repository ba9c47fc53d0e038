// Chooses the encoder settings of a build: the settings the user fixed, and for the rest a
// small set of candidates for both encoders that suit x86-64 executables; or, for a
// release, a whole grid of settings. Every candidate is tried, spread over threads, and the
// smallest resource wins.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "package/tool/lzma_encoder.h"

// The settings given on the command line; each one is fixed in every candidate.
struct EncoderRequest {
    std::optional<Encoder> encoder;
    std::optional<uint32_t> lc;
    std::optional<uint32_t> lp;
    std::optional<uint32_t> pb;
    std::optional<uint32_t> dictionarySize;
    std::optional<MatchFinder> matchFinder;
    std::optional<uint32_t> niceLength;
    std::optional<uint32_t> depth;

    bool operator==(const EncoderRequest&) const = default;
};

// The smallest size of the form 2^n or 2^n + 2^(n-1) that holds the whole image, at least
// 4096: a larger dictionary cannot find more matches, a smaller one may miss some.
uint32_t defaultDictionarySize(uint32_t imageLength);

// The candidates in a fixed order. A requested lc and lp must add up to at most 4; a 7-Zip
// candidate is left out when the requested nice length is too short for that encoder.
std::vector<EncoderSettings> candidateSettings(const EncoderRequest& request, uint32_t imageLength);

// What `build --best` tries, in this order: the default candidates, so that it is never
// larger than the default build; then 7-Zip's encoder over its usual grid at its strongest,
// lc 0 to 4 by pb 0 to 2 (lp 0) with bt4 and with bt3, at nice length 273 and the deepest
// search. All with the default dictionary.
std::vector<EncoderSettings> bestSettings(uint32_t imageLength);

struct EncodedPackage {
    std::vector<uint8_t> resource;
    EncoderSettings settings;
};

// Told of each candidate whose encoding ended: how many have ended so far, its settings and
// its resource size. Called from the encoding threads, one call at a time.
using SearchProgress =
    std::function<void(size_t ended, const EncoderSettings& settings, size_t resourceSize)>;

// Encodes with every candidate (there must be one) on up to `threads` threads at once (one
// when 0), and keeps the smallest resource; a tie goes to the earlier candidate, so the result
// depends neither on timing nor on the number of threads. Only the smallest resource so far
// and the ones being encoded are held in memory.
EncodedPackage encodeSmallest(std::span<const uint8_t> image,
                              std::span<const EncoderSettings> candidates, unsigned threads,
                              const SearchProgress& progress = nullptr);
