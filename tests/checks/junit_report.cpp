#include "tests/checks/junit_report.h"

#include <cstdio>

namespace {

// Puts PREFIX before the value of the attribute NAME in the start tag from START to END.
void prefixAttribute(std::string& text, size_t start, size_t& end, std::string_view name,
                     std::string_view prefix)
{
    const std::string pattern = " " + std::string(name) + "=\"";
    const size_t at = text.find(pattern, start);
    if (at == std::string::npos || at > end) {
        return;
    }
    text.insert(at + pattern.size(), prefix);
    end += prefix.size();
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string testcase(const CheckOutcome& outcome)
{
    std::string xml = "    <testcase classname=\"windows-checks\" name=\"" +
                      xmlEscaped(outcome.name) + "\" time=\"" + seconds(outcome.seconds) + "\">\n";
    const std::string firstLine = outcome.failure.substr(0, outcome.failure.find('\n'));
    if (outcome.verdict == Verdict::Failed) {
        xml += "      <failure message=\"" + xmlEscaped(firstLine) + "\">" +
               xmlEscaped(outcome.failure) + "</failure>\n";
    } else if (outcome.verdict == Verdict::Skipped) {
        xml += "      <skipped message=\"" + xmlEscaped(outcome.note) + "\"/>\n";
    }
    std::string out = outcome.note.empty() ? "" : outcome.note + "\n";
    out += outcome.log;
    if (!out.empty()) {
        xml += "      <system-out>" + xmlEscaped(out) + "</system-out>\n";
    }
    return xml + "    </testcase>\n";
}

}  // namespace

std::string xmlEscaped(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default:
            const auto byte = static_cast<unsigned char>(c);
            escaped += byte < 0x20 && c != '\t' && c != '\n' && c != '\r' ? '?' : c;
        }
    }
    return escaped;
}

std::string foldedSuites(std::string_view gtestReport, std::string_view program)
{
    const size_t first = gtestReport.find("<testsuite ");
    const size_t last = gtestReport.rfind("</testsuite>");
    if (first == std::string_view::npos || last == std::string_view::npos || last < first) {
        return {};
    }
    std::string text(gtestReport.substr(first, last + 12 - first));
    const std::string prefix = std::string(program) + ".";
    for (size_t tag = text.find('<'); tag != std::string::npos; tag = text.find('<', tag + 1)) {
        size_t end = text.find('>', tag);
        if (end == std::string::npos) {
            break;
        }
        if (text.compare(tag, 11, "<testsuite ") == 0) {
            prefixAttribute(text, tag, end, "name", prefix);
        } else if (text.compare(tag, 10, "<testcase ") == 0) {
            prefixAttribute(text, tag, end, "classname", prefix);
        }
    }
    return "  " + text + "\n";
}

std::vector<std::string> failedTests(std::string_view gtestReport)
{
    std::vector<std::string> failed;
    const auto attribute = [&](size_t tag, size_t end, std::string_view name) {
        const std::string pattern = " " + std::string(name) + "=\"";
        const size_t at = gtestReport.find(pattern, tag);
        if (at == std::string_view::npos || at > end) {
            return std::string();
        }
        const size_t start = at + pattern.size();
        return std::string(gtestReport.substr(start, gtestReport.find('"', start) - start));
    };
    for (size_t tag = gtestReport.find("<testcase "); tag != std::string_view::npos;
         tag = gtestReport.find("<testcase ", tag + 1)) {
        const size_t end = gtestReport.find('>', tag);
        const size_t next = gtestReport.find("<testcase ", tag + 1);
        const size_t failure = gtestReport.find("<failure ", tag);
        if (end == std::string_view::npos || failure == std::string_view::npos ||
            (next != std::string_view::npos && failure > next)) {
            continue;
        }
        std::string message = attribute(failure, gtestReport.find('>', failure), "message");
        message = message.substr(0, message.find("&#x0A;"));
        failed.push_back(attribute(tag, end, "classname") + "." + attribute(tag, end, "name") +
                         ": " + message);
    }
    return failed;
}

std::string junitReport(const std::vector<CheckOutcome>& outcomes, std::string_view system)
{
    size_t failures = 0;
    size_t skipped = 0;
    double total = 0;
    std::string cases;
    for (const CheckOutcome& outcome : outcomes) {
        failures += outcome.verdict == Verdict::Failed ? 1 : 0;
        skipped += outcome.verdict == Verdict::Skipped ? 1 : 0;
        total += outcome.seconds;
        cases += testcase(outcome);
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"Velkaris "
                      "Windows checks\">\n";
    xml += "  <testsuite name=\"windows-checks\" tests=\"" + std::to_string(outcomes.size()) +
           "\" failures=\"" + std::to_string(failures) + "\" errors=\"0\" skipped=\"" +
           std::to_string(skipped) + "\" time=\"" + seconds(total) + "\">\n";
    xml += "    <properties>\n      <property name=\"system\" value=\"" + xmlEscaped(system) +
           "\"/>\n    </properties>\n";
    xml += cases + "  </testsuite>\n";
    for (const CheckOutcome& outcome : outcomes) {
        xml += outcome.suites;
    }
    return xml + "</testsuites>\n";
}
