// What the checks folder's runner reports: the lines and the selection of checks, the JUnit
// report as a real XML parser reads it, and screenshots as a real image reader reads them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tests/checks/check_outcome.h"
#include "tests/checks/junit_report.h"
#include "tests/checks/png_encoder.h"

namespace {

// A report of GoogleTest 1.12, one suite with a passed and a failed test.
const char* const GtestReport = R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="2" failures="1" disabled="0" errors="0" time="0.01" name="AllTests">
  <testsuite name="FolderChain" tests="2" failures="1" disabled="0" skipped="0" errors="0" time="0.01">
    <testcase name="EmptyPathIsDone" status="run" result="completed" time="0." classname="FolderChain" />
    <testcase name="NetworkPath" status="run" result="completed" time="0." classname="FolderChain">
      <failure message="a.cpp:9&#x0A;Expected: &quot;x&quot;" type=""><![CDATA[a.cpp:9
Expected: "x"]]></failure>
    </testcase>
  </testsuite>
</testsuites>
)";

std::string temporaryPath(const char* name) {
    return std::string(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") + "/" +
           name + "-" + std::to_string(getpid());
}

// What COMMAND prints, and its exit status in status.
std::string output(const std::string& command, int& status) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t read = 0;
    while (pipe != nullptr && (read = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        text.append(buffer, read);
    }
    status = pipe != nullptr ? pclose(pipe) : -1;
    return text;
}

TEST(ChecksReport, LinesSayVerdictNameTimeAndTheSystemWhereItMatters) {
    CheckOutcome passed{"install", Verdict::Passed, 9.84, "", "", "", ""};
    CheckOutcome failed{"uninstall-scanner", Verdict::Failed, 3.25,
                        "Wine 8.0: no POSIX delete semantics", "exit code 1", "", ""};
    EXPECT_EQ(outcomeLine(passed), "PASS  install  9.8 s");
    EXPECT_EQ(outcomeLine(failed), "FAIL  uninstall-scanner  3.2 s - Wine 8.0: no POSIX delete semantics");
    EXPECT_EQ(summaryLine({passed, failed, passed}), "checks: 2 passed, 1 failed");
    CheckOutcome skipped{"x", Verdict::Skipped, 0, "", "", "", ""};
    EXPECT_EQ(summaryLine({skipped}), "checks: 0 passed, 0 failed, 1 skipped");
}

TEST(ChecksReport, NamesSelectChecksInTheirOwnOrderAndUnknownNamesAreNamed) {
    const std::vector<std::string> all = {"manifests", "install", "uninstall-silent"};
    std::vector<std::string> unknown;
    EXPECT_EQ(selectedChecks(all, {}, unknown), all);
    EXPECT_EQ(selectedChecks(all, {"uninstall-silent", "install"}, unknown),
              (std::vector<std::string>{"install", "uninstall-silent"}));
    EXPECT_TRUE(unknown.empty());
    EXPECT_TRUE(selectedChecks(all, {"instal"}, unknown).empty());
    EXPECT_EQ(unknown, std::vector<std::string>{"instal"});
}

TEST(ChecksReport, FailedGoogleTestsAreNamedWithTheFirstLineOfTheirFailure) {
    EXPECT_EQ(failedTests(GtestReport),
              std::vector<std::string>{"FolderChain.NetworkPath: a.cpp:9"});
    EXPECT_TRUE(failedTests("").empty());
}

TEST(ChecksReport, TheReportIsWellFormedXmlWithEveryCheckAndTheFoldedSuites) {
    CheckOutcome failed{"install", Verdict::Failed, 1.5, "",
                        "the box said \"Error: <Setup> & more\"\x01", "started\n", ""};
    CheckOutcome program{"install_shell_helpers_test", Verdict::Passed, 2, "", "", "",
                         foldedSuites(GtestReport, "install_shell_helpers_test")};
    const std::string path = temporaryPath("junit.xml");
    std::ofstream(path) << junitReport({failed, program}, "Wine 8.0");
    // Every test case with its class, and the failures, as a CI service reads them.
    const std::string reader =
        "python3 -c 'import sys, xml.dom.minidom as m\n"
        "d = m.parse(sys.argv[1])\n"
        "for c in d.getElementsByTagName(\"testcase\"):\n"
        "    f = c.getElementsByTagName(\"failure\")\n"
        "    print(c.getAttribute(\"classname\"), c.getAttribute(\"name\"),"
        " f[0].getAttribute(\"message\") if f else \"-\")' " + path;
    int status = 0;
    const std::string cases = output(reader, status);
    std::remove(path.c_str());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(cases,
              "windows-checks install the box said \"Error: <Setup> & more\"?\n"
              "windows-checks install_shell_helpers_test -\n"
              "install_shell_helpers_test.FolderChain EmptyPathIsDone -\n"
              "install_shell_helpers_test.FolderChain NetworkPath a.cpp:9\nExpected: \"x\"\n");
}

TEST(ChecksReport, ScreenshotsAreReadBackPixelForPixel) {
    // 200 x 120 pixels: 72,000 bytes of rows, more than one stored deflate block holds.
    const uint32_t width = 200;
    const uint32_t height = 120;
    std::vector<uint8_t> rgb;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            rgb.insert(rgb.end(), {static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                   static_cast<uint8_t>(x ^ y)});
        }
    }
    const std::vector<uint8_t> png = encodePng(width, height, rgb);
    const std::string path = temporaryPath("screenshot.png");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    int status = 0;
    const std::string read = output("convert " + path + " -depth 8 rgb:-", status);
    const std::string size = output("identify -format '%wx%h %[channels]' " + path, status);
    std::remove(path.c_str());
    EXPECT_EQ(size, "200x120 srgb");
    EXPECT_EQ(read, std::string(rgb.begin(), rgb.end()));
    EXPECT_TRUE(encodePng(width, height, std::vector<uint8_t>(5)).empty());
}

}  // namespace
