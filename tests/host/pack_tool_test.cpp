// The package tool as scripts and maintainers use it: build, verify, list and extract,
// reproducible builds, and the exit code and message of every kind of bad input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "pack_tool_fixture.h"
#include "pack_tool_pe_fixture.h"
#include "package/tool/constants_header.h"
#include "package/tool/file_time.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
}

// Parses one line of `list`: index, role, offset, size, time.
struct ListedEntry {
    unsigned index;
    std::string role;
    uint32_t offset;
    uint32_t size;
    std::string time;
};

PackageConstants constantsOf(const std::string& header) {
    const std::vector<uint8_t> bytes = readBytes(header);
    return parseConstantsHeader(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), header);
}

ListedEntry parseListLine(const std::string& line) {
    ListedEntry entry;
    std::istringstream(line) >> entry.index >> entry.role >> entry.offset >> entry.size >> entry.time;
    return entry;
}

class PackTool : public testing::Test {
protected:
    void SetUp() override {
        unsetenv("SOURCE_DATE_EPOCH");
        manifest = writeInputs(folder.path() / "in", files);
    }
    void TearDown() override { unsetenv("SOURCE_DATE_EPOCH"); }

    ToolRun build(const std::string& output, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"build", manifest, "-o", output};
        args.insert(args.end(), extra.begin(), extra.end());
        return runTool(args);
    }

    const PackageFiles files = sampleFiles();
    TemporaryFolder folder;
    std::string manifest;
};

TEST_F(PackTool, BuildWritesThePackageAndItsConstants) {
    const std::string package = folder / "velkaris.pkg";
    const std::string header = folder / "package_constants.h";
    const ToolRun run = build(package, {"--header", header});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(package + ": "), std::string::npos) << run.out;

    const std::vector<uint8_t> resource = readBytes(package);
    uint64_t imageLength = PackageHeaderSize;
    for (const PackageFile& file : files) {
        imageLength += file.bytes.size();
    }
    const std::vector<uint8_t> headerBytes = readBytes(header);
    const std::vector<std::string> text = lines(std::string(headerBytes.begin(), headerBytes.end()));
    std::vector<std::string> definitions;
    for (const std::string& line : text) {
        if (line.starts_with("constexpr")) {
            definitions.push_back(line);
        }
    }
    ASSERT_EQ(definitions.size(), 3u);
    EXPECT_EQ(definitions[0], "constexpr uint32_t PackageResourceSize = " + std::to_string(resource.size()) + "u;");
    EXPECT_EQ(definitions[1], "constexpr uint32_t PackageImageLength = " + std::to_string(imageLength) + "u;");
    EXPECT_TRUE(definitions[2].starts_with("constexpr uint32_t PackageChecksum = 0x")) << definitions[2];
    EXPECT_NE(std::find(text.begin(), text.end(), "#pragma once"), text.end());
    EXPECT_NE(std::find(text.begin(), text.end(), "#include <cstdint>"), text.end());
    // The resource begins with the properties byte and the dictionary size.
    EXPECT_LT(resource[0], 225);
    EXPECT_EQ(resource[1] | resource[2] << 8 | resource[3] << 16 | resource[4] << 24, 262144);
}

TEST_F(PackTool, VerifyListAndExtractGiveBackTheInputs) {
    const std::string package = folder / "velkaris.pkg";
    const std::string header = folder / "package_constants.h";
    ASSERT_EQ(build(package, {"--header", header}).exitCode, 0);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"verify", package}, {"verify", package, "--header", header}}) {
        const ToolRun verify = runTool(args);
        EXPECT_EQ(verify.exitCode, 0) << verify.err;
        EXPECT_EQ(verify.out, package + ": Ok\n");
    }

    const ToolRun list = runTool({"list", package});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const std::vector<std::string> listed = lines(list.out);
    ASSERT_EQ(listed.size(), PackageEntryCount);
    uint32_t offset = PackageHeaderSize;
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        const ListedEntry entry = parseListLine(listed[i]);
        EXPECT_EQ(entry.index, i);
        EXPECT_EQ(entry.offset, offset) << listed[i];
        EXPECT_EQ(entry.size, files[i].bytes.size()) << listed[i];
        offset += entry.size;
    }
    EXPECT_EQ(parseListLine(listed[0]).role, "licence");
    EXPECT_EQ(parseListLine(listed[1]).offset, 635u);
    EXPECT_EQ(parseListLine(listed[5]).role, "Tunewell");
    EXPECT_EQ(parseListLine(listed[1]).time, "2023-08-01T01:00:00.1234567Z");
    EXPECT_EQ(parseListLine(listed[8]).time, "2023-08-01T08:00:00.9876536Z");
    for (const uint32_t i : {0u, 9u, 10u}) {
        EXPECT_EQ(parseListLine(listed[i]).time, "-") << listed[i];
    }

    const fs::path out = folder.path() / "out" / "nested";
    const ToolRun extract = runTool({"extract", package, out.string()});
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    const std::vector<std::string> names = fileNames(out);
    ASSERT_EQ(names.size(), PackageEntryCount + 1);
    EXPECT_EQ(names[0], "00-licence.txt");
    EXPECT_EQ(names[10], "10-uninstaller.exe");
    EXPECT_EQ(names[11], "manifest.txt");
    for (uint32_t i = 0; i < PackageEntryCount; ++i) {
        EXPECT_EQ(readBytes(out / names[i]), files[i].bytes) << names[i];
        if (i >= 1 && i <= 8) {
            EXPECT_EQ(fileTimeValue(lastWriteTime(out / names[i])), fileTimeValue(files[i].lastWriteTime))
                << names[i];
        }
    }

    // The extracted manifest builds the very same package again.
    const std::string rebuilt = folder / "rebuilt.pkg";
    ASSERT_EQ(runTool({"build", (out / "manifest.txt").string(), "-o", rebuilt}).exitCode, 0);
    EXPECT_EQ(readBytes(rebuilt), readBytes(package));
}

// The package as resource 102 of an installer-like program, among other resources.
class PackToolInstaller : public PackTool {
protected:
    void SetUp() override {
        PackTool::SetUp();
        ASSERT_EQ(build(package, {"--header", header}).exitCode, 0);
        resource = readBytes(package);
        writeInstaller(resource);
        const auto at = std::search(program.begin(), program.end(), resource.begin(), resource.end());
        readLine = installer + ": resource 102 (RCDATA, language 1033): " + std::to_string(resource.size()) +
                   " bytes at file offset " + std::to_string(at - program.begin()) + "\n";
    }

    void writeInstaller(const std::vector<uint8_t>& carried) {
        program = testProgram({{3, 1, 1033, {1, 2, 3}}, {10, 102, 1033, carried}, {24, 1, 1033, {4, 5}}}).bytes;
        writeBytes(installer, program);
    }

    const std::string package = folder / "velkaris.pkg";
    const std::string header = folder / "package_constants.h";
    const std::string installer = folder / "VelkarisSetup.exe";
    std::vector<uint8_t> resource;
    std::vector<uint8_t> program;
    std::string readLine;  // what verify, list and extract say they read
};

TEST_F(PackToolInstaller, ListVerifyAndExtractReadItsPackage) {
    const ToolRun list = runTool({"list", installer});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, readLine + runTool({"list", package}).out);

    const PackageConstants built = constantsOf(header);
    char constants[128];
    std::snprintf(constants, sizeof constants, "PackageResourceSize %u, PackageImageLength %u, PackageChecksum 0x%08X",
                  built.resourceSize, built.imageLength, built.checksum);
    const ToolRun verify = runTool({"verify", installer});
    EXPECT_EQ(verify.exitCode, 0) << verify.err;
    const std::string ok = installer + ": Ok\n";
    EXPECT_EQ(verify.out, readLine + installer + ": " + constants + " (derived from the stream)\n" + ok);
    const ToolRun verifyHeader = runTool({"verify", installer, "--header", header});
    EXPECT_EQ(verifyHeader.exitCode, 0) << verifyHeader.err;
    EXPECT_EQ(verifyHeader.out, readLine + installer + ": " + constants + " (from " + header + ")\n" + ok);

    const fs::path fromInstaller = folder.path() / "from-installer";
    const fs::path fromPackage = folder.path() / "from-package";
    const ToolRun extract = runTool({"extract", installer, fromInstaller.string()});
    EXPECT_EQ(extract.exitCode, 0) << extract.err;
    EXPECT_EQ(extract.out, readLine);
    ASSERT_EQ(runTool({"extract", package, fromPackage.string()}).exitCode, 0);
    const std::vector<std::string> names = fileNames(fromPackage);
    ASSERT_EQ(fileNames(fromInstaller), names);
    for (const std::string& name : names) {
        EXPECT_EQ(readBytes(fromInstaller / name), readBytes(fromPackage / name)) << name;
    }
}

TEST_F(PackToolInstaller, DamagedPackageIsRefusedAfterSayingWhereItIs) {
    std::vector<uint8_t> damaged = resource;
    damaged[damaged.size() / 2] ^= 0x40;
    writeInstaller(damaged);
    const ToolRun list = runTool({"list", installer});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, readLine);
    EXPECT_EQ(list.err, "velkaris-pack: " + installer + ": damaged package: Compressed data is corrupt\n");
    const ToolRun verify = runTool({"verify", installer});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, readLine + installer + ": PackageCorrupt\n");
}

TEST_F(PackTool, AFileThatIsNeitherPackageNorInstallerGetsOneLine) {
    const std::string program = folder / "Brinet.exe";
    writeBytes(program, testProgram({{16, 1, 1033, {1, 2, 3}}}).bytes);
    const std::string text = folder / "notes.txt";
    writeText(text, "Not a package, and not a program either.\n");
    const fs::path out = folder.path() / "out";
    for (const auto& [file, problem] : std::vector<std::pair<std::string, std::string>>{
             {program, "no resource 102 of type RCDATA"}, {text, "not a PE file"}}) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{"verify", file}, {"list", file},
                                                     {"extract", file, out.string()}}) {
            const ToolRun run = runTool(args);
            EXPECT_EQ(run.exitCode, 1) << args[0];
            EXPECT_EQ(run.out, "") << args[0];
            EXPECT_EQ(run.err, "velkaris-pack: " + file + ": not a package and not an installer: " + problem + "\n");
        }
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(PackTool, SourceDateEpochMakesBuildsReproducible) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const std::string first = folder / "first.pkg";
    const std::string second = folder / "second.pkg";
    ASSERT_EQ(build(first, {"--header", folder / "first.h"}).exitCode, 0);
    // New file times must not matter.
    for (uint32_t i = 1; i <= 8; ++i) {
        setLastWriteTime(folder.path() / "in" / "bin" / sampleInputNames[i], {0x12345678u, 0x01D00000u});
    }
    ASSERT_EQ(build(second, {"--header", folder / "second.h"}).exitCode, 0);
    EXPECT_EQ(readBytes(first), readBytes(second));
    EXPECT_EQ(readBytes(folder / "first.h"), readBytes(folder / "second.h"));

    const std::vector<std::string> listed = lines(runTool({"list", first}).out);
    ASSERT_EQ(listed.size(), PackageEntryCount);
    for (uint32_t i = 1; i <= 8; ++i) {
        EXPECT_EQ(parseListLine(listed[i]).time, "2023-11-14T22:13:20Z");
    }
    EXPECT_EQ(parseListLine(listed[9]).time, "-");
}

TEST_F(PackTool, EncoderOptionsAreHonouredByBothEncoders) {
    for (const std::string encoder : {"liblzma", "7zip"}) {
        const std::string package = folder / (encoder + ".pkg");
        const ToolRun run = build(package, {"--encoder", encoder, "--lc", "1", "--lp=2", "--pb", "0", "--dict",
                                            "64KiB", "--mf", "bt3", "--nice", "32", "--depth", "8"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("(encoder " + encoder + ", lc 1, lp 2, pb 0, dictionary 65536, mf bt3, nice 32, "
                                                       "depth 8)"),
                  std::string::npos)
            << run.out;
        const std::vector<uint8_t> resource = readBytes(package);
        EXPECT_EQ(resource[0], (0 * 5 + 2) * 9 + 1);
        EXPECT_EQ(resource[1] | resource[2] << 8 | resource[3] << 16 | resource[4] << 24, 65536);
        EXPECT_EQ(runTool({"verify", package}).out, package + ": Ok\n");
    }
}

TEST_F(PackTool, BestReportsEverySettingAndIsNoLargerThanAny) {
    const std::string package = folder / "best.pkg";
    const ToolRun run = build(package, {"--best"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const size_t best = readBytes(package).size();
    EXPECT_EQ(runTool({"verify", package}).out, package + ": Ok\n");

    // One line per setting as it ends, counted in that order; the package is the smallest.
    const std::vector<std::string> progress = lines(run.err);
    ASSERT_EQ(progress.size(), 35u) << run.err;
    std::map<std::string, size_t> reported;
    for (size_t i = 0; i < progress.size(); ++i) {
        const std::string counter = "[" + std::to_string(i + 1) + "/35] ";
        const size_t colon = progress[i].rfind(": ");
        ASSERT_TRUE(progress[i].starts_with(counter) && progress[i].ends_with(" bytes") &&
                    colon != std::string::npos)
            << progress[i];
        reported[progress[i].substr(counter.size(), colon - counter.size())] =
            std::stoul(progress[i].substr(colon + 2));
    }
    ASSERT_EQ(reported.size(), 35u) << run.err;
    EXPECT_EQ(std::min_element(reported.begin(), reported.end(),
                               [](const auto& a, const auto& b) { return a.second < b.second; })
                  ->second,
              best);

    // Settings built alone come out as reported, none smaller; nor is the default build.
    const std::vector<std::pair<std::string, std::vector<std::string>>> pinned = {
        {"7zip lc 0 lp 0 pb 0 bt4 nice 273 depth 1000000000",
         {"--encoder", "7zip", "--lc", "0", "--pb", "0", "--mf", "bt4", "--nice", "273", "--depth", "1000000000"}},
        {"7zip lc 4 lp 0 pb 2 bt3 nice 273 depth 1000000000",
         {"--encoder", "7zip", "--lc", "4", "--pb", "2", "--mf", "bt3", "--nice", "273", "--depth", "1000000000"}},
        {"liblzma lc 3 lp 0 pb 2 bt4 nice 273 depth 512", {"--encoder", "liblzma"}},
        {"", {}},
    };
    for (const auto& [settings, options] : pinned) {
        const std::string single = folder / "single.pkg";
        ASSERT_EQ(build(single, options).exitCode, 0) << settings;
        const size_t size = readBytes(single).size();
        EXPECT_LE(best, size) << settings;
        if (!settings.empty()) {
            EXPECT_EQ(reported[settings], size) << settings;
        }
    }
}

TEST_F(PackTool, LongLicenceBuildsWithAWarning) {
    const std::string licence = licenceText(600);
    writeText(folder.path() / "in" / "licence.txt", licence);
    const ToolRun run = build(folder / "p.pkg");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
    EXPECT_TRUE(run.err.starts_with("velkaris-pack: warning: ")) << run.err;
    EXPECT_NE(run.err.find("licence.txt"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("600"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("511"), std::string::npos) << run.err;
}

// A failing build leaves no output of its own: an existing package stays as it was and no
// temporary file remains.
class PackToolBadBuild : public PackTool {
protected:
    void expectFailure(const std::string& expectedInMessage, const std::string& file) {
        const std::string package = folder / "velkaris.pkg";
        writeText(package, "previous package");
        const ToolRun run = build(package, {"--header", folder / "constants.h"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
        EXPECT_TRUE(run.err.starts_with("velkaris-pack: " + file)) << run.err;
        EXPECT_NE(run.err.find(expectedInMessage), std::string::npos) << run.err;
        EXPECT_EQ(readBytes(package), std::vector<uint8_t>({'p', 'r', 'e', 'v', 'i', 'o', 'u', 's', ' ',
                                                            'p', 'a', 'c', 'k', 'a', 'g', 'e'}));
        EXPECT_EQ(fileNames(folder.path()), (std::vector<std::string>{"in", "velkaris.pkg"}));
    }

    fs::path input(uint32_t row) const {
        return folder.path() / "in" / (row == 0 ? "" : "bin") / sampleInputNames[row];
    }
    void writeLicence(std::string_view text) { writeText(input(0), text); }
};

TEST_F(PackToolBadBuild, MissingManifest) {
    manifest = folder / "in/absent.manifest";
    expectFailure("cannot read: No such file or directory", manifest);
}

TEST_F(PackToolBadBuild, MissingOrUnreadableInput) {
    fs::remove(input(7));
    expectFailure("cannot read: No such file or directory (line 10 of " + manifest + ")", input(7).string());
    fs::create_directory(input(7));
    expectFailure("cannot read: Is a directory", input(7).string());
}

TEST_F(PackToolBadBuild, ManifestWithoutElevenEntries) {
    writeText(manifest, "");
    expectFailure("names 0 files; a package needs exactly 11", manifest);
    writeText(manifest, "# only the licence\nlicence.txt\n");
    expectFailure("names 1 file; a package needs exactly 11", manifest);
    std::string twelve;
    for (int i = 0; i < 12; ++i) {
        twelve += "licence.txt\n";
    }
    writeText(manifest, twelve);
    expectFailure("names 12 files", manifest);
}

TEST_F(PackToolBadBuild, ImageOver4MiB) {
    writeBytes(input(4), std::vector<uint8_t>(UnpackBlockSize - 200000, 0x90));
    expectFailure("larger than the 4194304 bytes the installer unpacks into", manifest);
}

TEST_F(PackToolBadBuild, LicenceThatIsNotCrLfAsciiText) {
    const std::string file = input(0).string();
    writeLicence("First line\nSecond line");
    expectFailure("line 1 ends with LF alone; convert the line breaks to CR LF", file);
    writeLicence("First line\r\nSecond line\r");
    expectFailure("line 2 ends with CR alone", file);
    writeLicence("First line\r\nSecond line\r\n");
    expectFailure("ends with a line break; remove the CR LF after the last line", file);
    writeLicence("Caf\xC3\xA9 licence");
    expectFailure("line 1 holds byte 0xC3 (offset 3), which is not 7-bit ASCII", file);
    writeLicence(std::string("Licence text", 12) + std::string(1, '\0'));
    expectFailure("holds a NUL byte (offset 12)", file);
}

TEST_F(PackToolBadBuild, InvalidSourceDateEpoch) {
    setenv("SOURCE_DATE_EPOCH", "yesterday", 1);
    expectFailure("'yesterday' is not a whole number of seconds", "SOURCE_DATE_EPOCH");
}

class PackToolBadPackage : public PackTool {
protected:
    void SetUp() override {
        PackTool::SetUp();
        package = folder / "velkaris.pkg";
        ASSERT_EQ(build(package, {"--header", folder / "constants.h"}).exitCode, 0);
        intact = readBytes(package);
    }

    // verify, list and extract all refuse the file with a message that names it.
    void expectRefused(const std::string& expectedInMessage) {
        const ToolRun verify = runTool({"verify", package});
        EXPECT_EQ(verify.exitCode, 1);
        EXPECT_EQ(verify.out, package + ": PackageCorrupt\n");
        EXPECT_TRUE(verify.err.starts_with("velkaris-pack: " + package + ": ")) << verify.err;
        EXPECT_NE(verify.err.find(expectedInMessage), std::string::npos) << verify.err;

        const fs::path out = folder.path() / "out";
        const ToolRun list = runTool({"list", package});
        const ToolRun extract = runTool({"extract", package, out.string()});
        for (const ToolRun* run : {&list, &extract}) {
            EXPECT_EQ(run->exitCode, 1);
            EXPECT_EQ(run->out, "");
            EXPECT_EQ(lines(run->err).size(), 1u) << run->err;
            EXPECT_TRUE(run->err.starts_with("velkaris-pack: " + package + ": damaged package: ")) << run->err;
            EXPECT_NE(run->err.find(expectedInMessage), std::string::npos) << run->err;
        }
        EXPECT_FALSE(fs::exists(out));
    }

    std::string package;
    std::vector<uint8_t> intact;
};

TEST_F(PackToolBadPackage, DamagedStream) {
    std::vector<uint8_t> damaged = intact;
    damaged[damaged.size() / 2] ^= 0x40;
    writeBytes(package, damaged);
    expectRefused("Compressed data is corrupt");
}

TEST_F(PackToolBadPackage, TruncatedStream) {
    writeBytes(package, {intact.begin(), intact.end() - 100});
    expectRefused("Unexpected end of input");
}

TEST_F(PackToolBadPackage, InvalidProperties) {
    std::vector<uint8_t> damaged = intact;
    damaged[0] = 225;
    writeBytes(package, damaged);
    expectRefused("Unsupported LZMA1 options");
}

TEST_F(PackToolBadPackage, BytesAfterTheEndMarker) {
    std::vector<uint8_t> longer = intact;
    longer.push_back(0);
    writeBytes(package, longer);
    expectRefused("1 bytes follow the end of the stream");
}

TEST_F(PackToolBadPackage, TooShortOrEmpty) {
    writeBytes(package, {0x5D, 0, 0, 0x30});
    expectRefused("only 4 bytes, too short to be a package");
}

TEST_F(PackToolBadPackage, VerifyWithAHeaderRunsTheLoadersChecks) {
    const std::string header = folder / "constants.h";
    const PackageConstants built = constantsOf(header);
    const auto verifyWith = [&](PackageConstants expected) {
        writeText(header, formatConstantsHeader(expected));
        return runTool({"verify", package, "--header", header});
    };

    PackageConstants expected = built;
    ++expected.resourceSize;
    ToolRun run = verifyWith(expected);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, package + ": ResourceInvalid\n");
    EXPECT_NE(run.err.find("the resource is " + std::to_string(built.resourceSize) + " bytes, not " +
                           std::to_string(expected.resourceSize)),
              std::string::npos)
        << run.err;

    expected = built;
    ++expected.imageLength;
    run = verifyWith(expected);
    EXPECT_EQ(run.out, package + ": PackageCorrupt\n");
    EXPECT_NE(run.err.find("the stream decodes to " + std::to_string(built.imageLength) + " bytes, not " +
                           std::to_string(expected.imageLength)),
              std::string::npos)
        << run.err;

    expected = built;
    expected.checksum ^= 0x80000000u;
    run = verifyWith(expected);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, package + ": PackageCorrupt\n");
    EXPECT_NE(run.err.find("checksum"), std::string::npos) << run.err;

    // A decoder error after the whole image does not matter to the loader.
    writeBytes(package, {intact.begin(), intact.end() - 1});
    expected = built;
    --expected.resourceSize;
    run = verifyWith(expected);
    EXPECT_EQ(run.out, package + ": Ok\n") << run.err;

    writeText(header, "constexpr uint32_t PackageResourceSize = 1u;\nconstexpr uint32_t PackageImageLength = 2u;\n");
    run = runTool({"verify", package, "--header", header});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "velkaris-pack: " + header + ": PackageChecksum is not defined\n");
}

TEST_F(PackToolBadPackage, MissingPackage) {
    const std::string absent = folder / "absent.pkg";
    for (const std::string command : {"verify", "list"}) {
        const ToolRun run = runTool({command, absent});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "velkaris-pack: " + absent + ": cannot read: No such file or directory\n");
    }
}

TEST(PackToolCommandLine, BadUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"pack"},
        {"build", "m"},
        {"build", "m", "-o"},
        {"build", "m", "n", "-o", "p"},
        {"list"},
        {"list", "a", "b"},
        {"list", "p", "--lc", "3"},
        {"verify", "p", "-o", "q"},
        {"extract", "p"},
        {"build", "m", "-o", "p", "--lc", "5"},
        {"build", "m", "-o", "p", "--lc", "3", "--lp", "2"},
        {"build", "m", "-o", "p", "--pb=x"},
        {"build", "m", "-o", "p", "--dict", "100"},
        {"build", "m", "-o", "p", "--dict", "5MiB"},
        {"build", "m", "-o", "p", "--nice", "3"},
        {"build", "m", "-o", "p", "--depth", "-1"},
        {"build", "m", "-o", "p", "--encoder", "xz"},
        {"build", "m", "-o", "p", "--mf", "bt5"},
        {"build", "m", "-o", "p", "--encoder", "7zip", "--nice", "4"},
        {"build", "m", "-o", "p", "--fast"},
        {"build", "m", "-o", "p", "--best", "--lc", "3"},
        {"build", "m", "-o", "p", "--encoder", "7zip", "--best"},
        {"build", "m", "-o", "p", "--best=yes"},
        {"build", "m", "-o", "p", "--depth", "1000000001"},
        {"list", "p", "--best"},
    };
    for (const std::vector<std::string>& args : cases) {
        const ToolRun run = runTool(args);
        std::string shown;
        for (const std::string& arg : args) {
            shown += arg + " ";
        }
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_TRUE(run.err.starts_with("velkaris-pack: ")) << shown;
        EXPECT_TRUE(run.err.ends_with("velkaris-pack: Try 'velkaris-pack --help' for more information.\n"))
            << shown << run.err;
    }
}

TEST(PackToolCommandLine, HelpDocumentsEveryCommandAndOption) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"build", "--help"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        for (const char* word : {"build MANIFEST -o PACKAGE", "verify PACKAGE", "list PACKAGE", "extract PACKAGE DIR",
                                 "--header CONSTANTS_H", "--best", "--encoder", "--lc", "--lp", "--pb", "--dict", "--mf",
                                 "--nice", "--depth", "SOURCE_DATE_EPOCH", "10-uninstaller.exe", "installer",
                                 "resource 102", "Exit status"}) {
            EXPECT_NE(run.out.find(word), std::string::npos) << word;
        }
    }
}

TEST(PackToolProgram, ExitCodesReachTheShell) {
    const std::string tool = VELKARIS_PACK_TOOL_PATH;
    const auto exitCode = [](const std::string& command) {
        const int status = std::system((command + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(exitCode(tool + " --help"), 0);
    EXPECT_EQ(exitCode(tool + " list /nonexistent/velkaris.pkg"), 1);
    EXPECT_EQ(exitCode(tool + " frobnicate"), 2);
}

}  // namespace
