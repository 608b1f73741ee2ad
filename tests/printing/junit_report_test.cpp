// The JUnit report of a run: its escaping rule and the document's shape, written out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/fleet_report.h"

namespace quorvel::testing {
namespace {

using std::chrono::milliseconds;

TEST(XmlEscaped, EntitiesReferencesAndTheReplacementCharacter) {
  struct Row {
    std::string text;
    std::string xml;
  };
  const std::string fffd = "\xEF\xBF\xBD";
  const Row rows[] = {
      {"Lab 1", "Lab 1"},
      {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&apos;f"},
      {"tab\there\nnext\rline", "tab&#9;here&#10;next&#13;line"},
      {std::string("nul\0bell\a", 9), "nul" + fffd + "bell" + fffd},
      {"esc\x1B[K del\x7F", "esc" + fffd + "[K del" + fffd},
      {"C1 \xC2\x85", "C1 " + fffd},  // U+0085, next line
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x96\xA8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x96\xA8"},
      {"latin-1 caf\xE9!", "latin-1 caf" + fffd + "!"},  // a lone byte 0xE9
      {"\xFF\xFE", fffd + fffd},
      {"cut \xE2\x82", "cut " + fffd + fffd},  // a sequence cut short: one per byte
      {"overlong \xC0\xAF", "overlong " + fffd + fffd},
      {"surrogate \xED\xA0\x80", "surrogate " + fffd + fffd + fffd},
      {"past \xF4\x90\x80\x80", "past " + fffd + fffd + fffd + fffd},
      {"nonchar \xEF\xBF\xBF", "nonchar " + fffd},  // U+FFFF
  };
  for (const Row& row : rows) {
    EXPECT_EQ(XmlEscaped(row.text), row.xml) << row.text;
  }
}

TEST(FleetJunit, OneSuitePerServerOneCasePerPrinter) {
  const std::vector<JunitSuite> suites = {
      {"127.0.0.1:6311",
       {{"Virtual", FleetOutcome::kPrinted, 12, milliseconds{250}, "", "snmp"},
        {"Stopped", FleetOutcome::kNotPrinted, 13, milliseconds{1500},
         "Not printed: job 13 on Stopped is pending and the printer is stopped.", ""}}},
      {"127.0.0.1:6312",
       {{"Gone", FleetOutcome::kNotRecognized, 0, milliseconds{5}, "", ""},
        {"R&D <2>", FleetOutcome::kFailed, 0, milliseconds{10}, "Create-Job: \"R&D <2>\" said no",
         ""},
        {"Late", FleetOutcome::kNotSent, 0, milliseconds{0}, "stopped by the user", ""},
        {"B\xFCro", FleetOutcome::kReady, 0, milliseconds{0}, "", ""}}},
  };
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<testsuites name=\"quorvel-cli print\" tests=\"6\" failures=\"3\" errors=\"0\" "
      "skipped=\"1\" time=\"2.000\">\n"
      "  <testsuite name=\"127.0.0.1:6311\" tests=\"2\" failures=\"1\" errors=\"0\" skipped=\"0\" "
      "time=\"1.750\">\n"
      "    <testcase classname=\"127.0.0.1:6311\" name=\"Virtual\" time=\"0.250\">\n"
      "      <system-out>printed (snmp), job 12</system-out>\n"
      "    </testcase>\n"
      "    <testcase classname=\"127.0.0.1:6311\" name=\"Stopped\" time=\"1.500\">\n"
      "      <failure message=\"not printed: Not printed: job 13 on Stopped is pending and the "
      "printer is stopped.\" type=\"not printed\">Not printed: job 13 on Stopped is pending and "
      "the printer is stopped.</failure>\n"
      "      <system-out>not printed, job 13</system-out>\n"
      "    </testcase>\n"
      "  </testsuite>\n"
      "  <testsuite name=\"127.0.0.1:6312\" tests=\"4\" failures=\"2\" errors=\"0\" skipped=\"1\" "
      "time=\"0.015\">\n"
      "    <testcase classname=\"127.0.0.1:6312\" name=\"Gone\" time=\"0.005\">\n"
      "      <failure message=\"not recognized\" type=\"not recognized\"></failure>\n"
      "    </testcase>\n"
      "    <testcase classname=\"127.0.0.1:6312\" name=\"R&amp;D &lt;2&gt;\" time=\"0.010\">\n"
      "      <failure message=\"failed: Create-Job: &quot;R&amp;D &lt;2&gt;&quot; said no\" "
      "type=\"failed\">Create-Job: &quot;R&amp;D &lt;2&gt;&quot; said no</failure>\n"
      "    </testcase>\n"
      "    <testcase classname=\"127.0.0.1:6312\" name=\"Late\" time=\"0.000\">\n"
      "      <skipped message=\"stopped by the user\"/>\n"
      "    </testcase>\n"
      "    <testcase classname=\"127.0.0.1:6312\" name=\"B\xEF\xBF\xBDro\" time=\"0.000\">\n"
      "      <properties><property name=\"printerBytes\" value=\"B\\xFCro\"/></properties>\n"
      "    </testcase>\n"
      "  </testsuite>\n"
      "</testsuites>\n";
  EXPECT_EQ(FleetJunit("quorvel-cli print", suites, milliseconds{2000}), expected);
}

TEST(FleetJunit, SuccessesPassAndAnEmptyRunHasZeroTotals) {
  const std::vector<JunitSuite> suites = {
      {"localhost",
       {{"A", FleetOutcome::kExecuted, 0, milliseconds{1}, "", ""},
        {"B", FleetOutcome::kReady, 0, milliseconds{2}, "", ""}}},
  };
  EXPECT_EQ(FleetJunit("quorvel-cli check", suites, milliseconds{3}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<testsuites name=\"quorvel-cli check\" tests=\"2\" failures=\"0\" errors=\"0\" "
            "skipped=\"0\" time=\"0.003\">\n"
            "  <testsuite name=\"localhost\" tests=\"2\" failures=\"0\" errors=\"0\" "
            "skipped=\"0\" time=\"0.003\">\n"
            "    <testcase classname=\"localhost\" name=\"A\" time=\"0.001\"/>\n"
            "    <testcase classname=\"localhost\" name=\"B\" time=\"0.002\"/>\n"
            "  </testsuite>\n"
            "</testsuites>\n");
  // Two printers checked side by side in 2 ms: the suite took no longer than the run.
  EXPECT_NE(FleetJunit("quorvel-cli check", suites, milliseconds{2})
                .find("<testsuite name=\"localhost\" tests=\"2\" failures=\"0\" errors=\"0\" "
                      "skipped=\"0\" time=\"0.002\">"),
            std::string::npos);
  EXPECT_EQ(FleetJunit("quorvel-cli check", {}, milliseconds{0}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<testsuites name=\"quorvel-cli check\" tests=\"0\" failures=\"0\" errors=\"0\" "
            "skipped=\"0\" time=\"0.000\">\n"
            "</testsuites>\n");
}

}  // namespace
}  // namespace quorvel::testing
