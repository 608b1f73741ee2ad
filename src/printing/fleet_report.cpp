#include "printing/fleet_report.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "common/json_text.h"
#include "common/text.h"

namespace quorvel {
namespace {

double InSeconds(std::chrono::milliseconds elapsed) {
  return static_cast<double>(elapsed.count()) / 1000.0;
}

// Seconds to the hundredth, as the JSON writer writes them too.
std::string Seconds(std::chrono::milliseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", InSeconds(elapsed));
  return text;
}

// PJL and SNMP verdicts come from the printer itself; the text report names them.
bool IsDeviceSource(const std::string& source) {
  return source == "pjl" || source == "snmp";
}

// JUnit times: seconds to the millisecond.
std::string JunitSeconds(std::chrono::milliseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", InSeconds(elapsed));
  return text;
}

bool XmlCannotCarry(char32_t c) {
  return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || (c >= 0x7F && c <= 0x9F) ||
         c == 0xFFFE || c == 0xFFFF;
}

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

std::string Attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + XmlEscaped(value) + "\"";
}

struct JunitCounts {
  std::size_t tests = 0;
  std::size_t failures = 0;
  std::size_t skipped = 0;
  std::chrono::milliseconds time{0};

  void Add(const JunitCounts& other) {
    tests += other.tests;
    failures += other.failures;
    skipped += other.skipped;
  }
  std::string Attributes() const {
    return Attribute("tests", std::to_string(tests)) +
           Attribute("failures", std::to_string(failures)) + Attribute("errors", "0") +
           Attribute("skipped", std::to_string(skipped)) + Attribute("time", JunitSeconds(time));
  }
};

std::string JunitCase(const std::string& suite, const PrinterResult& result, JunitCounts& counts) {
  ++counts.tests;
  counts.time += result.elapsed;
  std::string xml = "    <testcase" + Attribute("classname", suite) +
                    Attribute("name", result.printer) +
                    Attribute("time", JunitSeconds(result.elapsed));
  std::string inside;
  if (!json::IsUtf8(result.printer)) {
    // XML cannot carry the name's bytes: the name shows U+FFFD, its bytes go beside it
    inside += "      <properties><property name=\"printerBytes\"" +
              Attribute("value", json::EscapedBytes(result.printer)) + "/></properties>\n";
  }
  const std::string outcome = OutcomeName(result.outcome);
  if (result.outcome == FleetOutcome::kNotSent) {
    ++counts.skipped;
    inside += "      <skipped" + Attribute("message", result.detail) + "/>\n";
  } else if (!Succeeded(result.outcome)) {
    ++counts.failures;
    inside +=
        "      <failure" +
        Attribute("message", result.detail.empty() ? outcome : outcome + ": " + result.detail) +
        Attribute("type", outcome) + ">" + XmlEscaped(result.detail) + "</failure>\n";
  }
  if (result.jobId != 0) {
    const std::string by =
        IsDeviceSource(result.confirmedBy) ? " (" + result.confirmedBy + ")" : std::string();
    inside += "      <system-out>" + outcome + by + ", job " + std::to_string(result.jobId) +
              "</system-out>\n";
  }
  return xml + (inside.empty() ? "/>\n" : ">\n" + inside + "    </testcase>\n");
}

}  // namespace

std::string XmlEscaped(std::string_view text) {
  static constexpr text::MarkupRules kXml{
      "&apos;", kReplacement, [](char32_t c) -> std::optional<std::string> {
        switch (c) {
          case '\t':
            return "&#9;";
          case '\n':
            return "&#10;";
          case '\r':
            return "&#13;";
          default:
            return XmlCannotCarry(c) ? std::optional<std::string>(kReplacement) : std::nullopt;
        }
      }};
  return text::EscapeMarkup(text, kXml);
}

std::string FleetJunit(const std::string& runName, const std::vector<JunitSuite>& suites,
                       std::chrono::milliseconds elapsed) {
  JunitCounts all;
  std::string body;
  for (const JunitSuite& suite : suites) {
    JunitCounts counts;
    std::string cases;
    for (const PrinterResult& result : suite.results) {
      cases += JunitCase(suite.name, result, counts);
    }
    counts.time = std::min(counts.time, elapsed);  // its printers went side by side
    all.Add(counts);
    body += "  <testsuite" + Attribute("name", suite.name) + counts.Attributes() + ">\n" + cases +
            "  </testsuite>\n";
  }
  all.time = elapsed;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites" + Attribute("name", runName) +
         all.Attributes() + ">\n" + body + "</testsuites>\n";
}

std::string FleetLine(const PrinterResult& result) {
  std::string line = result.printer + ": " + OutcomeName(result.outcome);
  if (IsDeviceSource(result.confirmedBy)) {
    // the printer was asked itself, not a spooler ("not confirmed (pjl)": it did not say)
    line += " (" + result.confirmedBy + ")";
  }
  if (result.jobId != 0) {
    line += ", job " + std::to_string(result.jobId);
  }
  line += ", " + Seconds(result.elapsed) + " s";
  if (!result.detail.empty()) {
    line += ": " + result.detail;
  }
  return line;
}

std::string FleetSummaryLine(const FleetSummary& summary, std::chrono::milliseconds elapsed) {
  std::string line = std::to_string(summary.total) +
                     (summary.total == 1 ? " printer in " : " printers in ") + Seconds(elapsed) +
                     " s";
  const char* separator = ": ";
  for (std::size_t i = 0; i < kFleetOutcomeCount; ++i) {
    if (summary.counts[i] != 0) {
      line += separator + std::to_string(summary.counts[i]) + " " +
              OutcomeName(static_cast<FleetOutcome>(i));
      separator = ", ";
    }
  }
  separator = "; confirmed by the printers: ";
  for (const auto& [source, count] : summary.confirmedBy) {
    if (IsDeviceSource(source)) {
      line += separator + std::to_string(count) + " " + source;
      separator = ", ";
    }
  }
  return line;
}

std::string FleetJsonItem(const PrinterResult& result) {
  json::Value item;
  json::PutName(item, "printer", result.printer);
  item["outcome"] = OutcomeName(result.outcome);
  item["job"] = result.jobId != 0 ? json::Value(result.jobId) : json::Value(nullptr);
  item["seconds"] = InSeconds(result.elapsed);
  item["detail"] = result.detail;
  const std::string source = ConfirmedBy(result);
  item["confirmedBy"] = source.empty() ? json::Value(nullptr) : json::Value(source);
  return json::Write(item, json::kSpaced);
}

std::string FleetSummaryJson(const FleetSummary& summary, std::chrono::milliseconds elapsed) {
  json::Value counts;
  counts["printers"] = summary.total;
  counts["seconds"] = InSeconds(elapsed);
  for (std::size_t i = 0; i < kFleetOutcomeCount; ++i) {
    counts[json::KeyOf(OutcomeName(static_cast<FleetOutcome>(i)))] = summary.counts[i];
  }
  json::Value sources = json::Value::object();
  for (const auto& [source, count] : summary.confirmedBy) {
    sources[source] = count;
  }
  counts["confirmedBy"] = sources;
  return json::Write(counts, json::kSpaced);
}

}  // namespace quorvel
