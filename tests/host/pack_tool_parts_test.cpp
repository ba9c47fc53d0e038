// The package tool's parts: manifest, licence rules, constants header, time stamps,
// command line and the choice of encoder settings.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "package/tool/command_line.h"
#include "package/tool/constants_header.h"
#include "package/tool/encoder_search.h"
#include "package/tool/file_time.h"
#include "package/tool/licence_check.h"
#include "package/tool/manifest.h"
#include "package/tool/messages.h"
#include "package_fixture.h"

namespace {

namespace fs = std::filesystem;

TEST(Manifest, SkipsCommentsAndBlankLinesAndTrimsBlanks) {
    const std::vector<ManifestEntry> entries =
        parseManifest("# header\r\n\r\n  licence.txt \r\n\t# indented comment\nbin/a b.exe\n/abs/c.exe", "base");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].path, fs::path("base/licence.txt"));
    EXPECT_EQ(entries[0].line, 3u);
    EXPECT_EQ(entries[1].path, fs::path("base/bin/a b.exe"));
    EXPECT_EQ(entries[1].line, 5u);
    EXPECT_EQ(entries[2].path, fs::path("/abs/c.exe"));
    EXPECT_TRUE(parseManifest("", "base").empty());
    EXPECT_EQ(parseManifest("x.exe", "").front().path, fs::path("x.exe"));
}

std::optional<std::string> problemOf(std::string_view text) {
    return licenceProblem({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

TEST(LicenceCheck, AcceptsCrLfAsciiText) {
    EXPECT_EQ(problemOf(licenceText(503)), std::nullopt);
    EXPECT_EQ(problemOf("One line only\twith a tab"), std::nullopt);
    EXPECT_EQ(problemOf("A\r\n\r\nB"), std::nullopt);
    EXPECT_EQ(problemOf(""), std::nullopt);
}

TEST(ConstantsHeader, ReadsHandWrittenHeaders) {
    const PackageConstants read = parseConstantsHeader(
        "// PackageChecksum below is the package's checksum\n"
        "constexpr uint32_t PackageResourceSize=10;\n"
        "constexpr uint32_t OldPackageImageLength = 5u;\n"
        "constexpr uint32_t PackageImageLength = 0x20U ;\n"
        "inline constexpr uint32_t PackageChecksum = 4294967295u;\n",
        "c.h");
    EXPECT_EQ(read.resourceSize, 10u);
    EXPECT_EQ(read.imageLength, 32u);
    EXPECT_EQ(read.checksum, 0xFFFFFFFFu);
}

TEST(ConstantsHeader, RefusesMissingDuplicateOrBadDefinitions) {
    const std::string complete = formatConstantsHeader({1, 2, 3});
    const auto errorOf = [](const std::string& text) {
        try {
            parseConstantsHeader(text, "c.h");
        } catch (const ToolError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf(""), "c.h: PackageResourceSize is not defined");
    EXPECT_EQ(errorOf(complete + "constexpr uint32_t PackageImageLength = 7u;\n"),
              "c.h: PackageImageLength is defined twice");
    EXPECT_EQ(errorOf("constexpr uint32_t PackageResourceSize = 4294967296u;\n" + complete),
              "c.h: PackageResourceSize is not defined as a 32-bit integer literal");
    EXPECT_EQ(errorOf("constexpr uint32_t PackageChecksum = 0xFFu\n"),
              "c.h: PackageResourceSize is not defined");
}

TEST(FileTime, ConvertsAndFormats) {
    EXPECT_EQ(formatIso8601({0, 0}), "1601-01-01T00:00:00Z");
    const std::optional<FileTime> epoch = parseSourceDateEpoch("0");
    ASSERT_TRUE(epoch);
    EXPECT_EQ(fileTimeValue(*epoch), 116444736000000000ull);
    EXPECT_EQ(formatIso8601(*parseSourceDateEpoch("1700000000")), "2023-11-14T22:13:20Z");
    EXPECT_EQ(formatIso8601(fileTimeFromValue(133353216000000001ull)), "2023-08-01T00:00:00.0000001Z");
    // 2024 is a leap year.
    EXPECT_EQ(formatIso8601(*parseSourceDateEpoch("1709208000")), "2024-02-29T12:00:00Z");
    EXPECT_EQ(formatIso8601(fileTimeFromValue(UINT64_MAX)).substr(0, 5), "30828");
}

TEST(FileTime, RefusesSourceDateEpochThatIsNoCountOfSeconds) {
    for (const char* text : {"", "-1", "12a", "1.5", " 1", "99999999999999999999", "999999999999999"}) {
        EXPECT_EQ(parseSourceDateEpoch(text), std::nullopt) << text;
    }
}

TEST(EncoderSearch, DictionaryHoldsTheWholeImage) {
    EXPECT_EQ(defaultDictionarySize(0), 4096u);
    EXPECT_EQ(defaultDictionarySize(4096), 4096u);
    EXPECT_EQ(defaultDictionarySize(4097), 6144u);
    EXPECT_EQ(defaultDictionarySize(6145), 8192u);
    EXPECT_EQ(defaultDictionarySize(2563195), 3145728u);
    EXPECT_EQ(defaultDictionarySize(3145729), 4194304u);
    EXPECT_EQ(defaultDictionarySize(4194304), 4194304u);
}

TEST(EncoderSearch, DefaultCandidatesStartWithTheSettingsOfXz9e) {
    const std::vector<EncoderSettings> candidates = candidateSettings({}, 2563195);
    const EncoderSettings xz9e{Encoder::Liblzma, 3, 0, 2, 3145728, MatchFinder::Bt4, 273, 512};
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front(), xz9e);
    EXPECT_EQ(propertiesByte(xz9e), 0x5D);
    for (const Encoder encoder : Encoders) {
        EXPECT_NE(std::find_if(candidates.begin(), candidates.end(),
                               [&](const EncoderSettings& settings) { return settings.encoder == encoder; }),
                  candidates.end())
            << nameOf(encoder);
    }
    for (const EncoderSettings& settings : candidates) {
        EXPECT_LE(settings.lc + settings.lp, 4u);
    }
}

TEST(EncoderSearch, RequestedSettingsAreFixedInEveryCandidate) {
    EncoderRequest request;
    request.lp = 2;
    request.encoder = Encoder::SevenZip;
    for (const EncoderSettings& settings : candidateSettings(request, 1000)) {
        EXPECT_EQ(settings.encoder, Encoder::SevenZip);
        EXPECT_EQ(settings.lp, 2u);
        EXPECT_LE(settings.lc, 2u);
    }
    // 7-Zip's encoder cannot take the shortest nice length; liblzma's can.
    request = {};
    request.niceLength = 4;
    for (const EncoderSettings& settings : candidateSettings(request, 1000)) {
        EXPECT_EQ(settings.encoder, Encoder::Liblzma);
    }
    request = {Encoder::SevenZip, 3, 0, 2, 65536, MatchFinder::Hc4, 64, 512};
    const std::vector<EncoderSettings> one = candidateSettings(request, 1000);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (EncoderSettings{Encoder::SevenZip, 3, 0, 2, 65536, MatchFinder::Hc4, 64, 512}));
}

TEST(EncoderSearch, KeepsTheSmallestAndDoesNotDependOnThreads) {
    const std::vector<uint8_t> image = layoutImage(sampleFiles());
    const std::vector<EncoderSettings> candidates = {
        {Encoder::Liblzma, 0, 0, 0, 262144, MatchFinder::Hc4, 8, 1},  // weak
        {Encoder::SevenZip, 3, 0, 2, 262144, MatchFinder::Bt3, 273, 0},
        {Encoder::Liblzma, 4, 0, 1, 262144, MatchFinder::Bt4, 273, 0},
    };
    size_t smallest = SIZE_MAX;
    for (const EncoderSettings& settings : candidates) {
        smallest = std::min(smallest, encodePackage(image, settings).size());
    }
    const EncodedPackage alone = encodeSmallest(image, candidates, 1);
    const EncodedPackage spread = encodeSmallest(image, candidates, 3);
    EXPECT_EQ(alone.resource.size(), smallest);
    EXPECT_EQ(alone.resource, spread.resource);
    EXPECT_EQ(alone.settings, spread.settings);
    EXPECT_NE(alone.settings, candidates[0]);
}

TEST(EncoderSearch, BestTriesTheDefaultsThenSevenZipsWholeGrid) {
    const std::vector<EncoderSettings> defaults = candidateSettings({}, 2563195);
    const std::vector<EncoderSettings> best = bestSettings(2563195);
    ASSERT_EQ(best.size(), defaults.size() + 30);
    EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), best.begin()));
    std::set<std::tuple<uint32_t, uint32_t, MatchFinder>> grid;
    for (size_t i = defaults.size(); i < best.size(); ++i) {
        const EncoderSettings& settings = best[i];
        EXPECT_EQ(settings.encoder, Encoder::SevenZip);
        EXPECT_EQ(settings.lp, 0u);
        EXPECT_EQ(settings.dictionarySize, 3145728u);
        EXPECT_EQ(settings.niceLength, 273u);
        EXPECT_EQ(settings.depth, 1000000000u);
        EXPECT_NE(settings.matchFinder, MatchFinder::Bt2);
        EXPECT_NE(settings.matchFinder, MatchFinder::Hc4);
        grid.insert({settings.lc, settings.pb, settings.matchFinder});
    }
    EXPECT_EQ(grid.size(), 30u);
}

TEST(EncoderSearch, BestDoesNotDependOnThreads) {
    const std::vector<uint8_t> image = layoutImage(sampleFiles());
    const std::vector<EncoderSettings> best = bestSettings(static_cast<uint32_t>(image.size()));
    const EncodedPackage alone = encodeSmallest(image, best, 1);
    const EncodedPackage spread = encodeSmallest(image, best, 3);
    EXPECT_EQ(alone.resource, spread.resource);
    EXPECT_EQ(alone.settings, spread.settings);
}

TEST(EncoderSearch, ATieGoesToTheEarlierCandidateEveryTime) {
    // Runs of one byte: every depth finds the same matches, so the streams are equally long.
    const std::vector<uint8_t> image(65536, 0x90);
    std::vector<EncoderSettings> candidates;
    for (const uint32_t depth : {1u, 2u, 3u, 4u}) {
        candidates.push_back({Encoder::SevenZip, 3, 0, 2, 65536, MatchFinder::Bt4, 32, depth});
    }
    const size_t size = encodePackage(image, candidates[0]).size();
    for (const EncoderSettings& settings : candidates) {
        ASSERT_EQ(encodePackage(image, settings).size(), size);
    }
    for (int round = 0; round < 8; ++round) {
        EXPECT_EQ(encodeSmallest(image, candidates, 4).settings, candidates.front());
        std::reverse(candidates.begin(), candidates.end());
    }
}

TEST(CommandLine, ReadsEveryFormOfTheCommands) {
    const std::vector<std::string> build = {"build", "--lc=4", "m.txt", "--header", "c.h", "-o", "p.pkg",
                                            "--dict", "3MiB", "--depth", "0", "--encoder", "7zip", "--mf=hc4"};
    const CommandLine line = parseCommandLine(build);
    EXPECT_EQ(line.command, Command::Build);
    EXPECT_EQ(line.input, "m.txt");
    EXPECT_EQ(line.output, "p.pkg");
    EXPECT_EQ(line.header, "c.h");
    EXPECT_EQ(line.encoder.lc, 4u);
    EXPECT_EQ(line.encoder.lp, std::nullopt);
    EXPECT_EQ(line.encoder.dictionarySize, 3145728u);
    EXPECT_EQ(line.encoder.depth, 0u);
    EXPECT_EQ(line.encoder.encoder, Encoder::SevenZip);
    EXPECT_EQ(line.encoder.matchFinder, MatchFinder::Hc4);

    const std::vector<std::string> extract = {"extract", "p.pkg", "dir"};
    EXPECT_EQ(parseCommandLine(extract).output, "dir");
    const std::vector<std::string> verify = {"verify", "p.pkg"};
    EXPECT_EQ(parseCommandLine(verify).header, std::nullopt);
    const std::vector<std::string> help = {"list", "--help"};
    EXPECT_EQ(parseCommandLine(help).command, Command::Help);

    const std::vector<std::string> best = {"build", "m.txt", "--best", "-o", "p.pkg"};
    EXPECT_TRUE(parseCommandLine(best).best);
    EXPECT_FALSE(line.best);
}

}  // namespace
