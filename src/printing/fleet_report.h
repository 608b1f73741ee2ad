#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "printing/fleet.h"

namespace quorvel {

/// A printer's line as it finishes: "NAME: OUTCOME[, job ID], S.SS s[: DETAIL]".
std::string FleetLine(const PrinterResult& result);

/// The closing line: "N printers in S.SS s: COUNT OUTCOME, ..." with the outcomes met, successes
/// first.
std::string FleetSummaryLine(const FleetSummary& summary, std::chrono::milliseconds elapsed);

/// A printer as a JSON object: {"printer", "outcome", "job" (null without one), "seconds",
/// "detail", "confirmedBy" (null unless someone confirmed)}, written by the one JSON writer
/// (common/json_text.h) like the rest of the report.
std::string FleetJsonItem(const PrinterResult& result);

/// The summary as a JSON object: "printers", "seconds", a count for every outcome (its name in
/// camelCase: "notConfirmed") and "confirmedBy", the count per source that confirmed.
std::string FleetSummaryJson(const FleetSummary& summary, std::chrono::milliseconds elapsed);

/// Text for XML, in an attribute's value or between tags: & < > " ' become entities, and tab, line
/// feed and carriage return character references (so that attribute values keep them). What XML
/// cannot carry becomes U+FFFD, the replacement character: each byte that does not start a valid
/// UTF-8 sequence (one U+FFFD per such byte), and the control characters U+0000 to U+001F other
/// than tab, line feed and carriage return, and U+007F to U+009F.
std::string XmlEscaped(std::string_view text);

/// One print server's printers in a JUnit report; each result's `printer` is the test case's name.
struct JunitSuite {
  std::string name;
  std::vector<PrinterResult> results;
};

/// The run as JUnit XML, the shape CI dashboards read: <testsuites> with one <testsuite> per
/// print server and one <testcase classname="SERVER" name="PRINTER" time="S.SSS"> per printer.
/// The successes (printed, executed, ready) pass; "not sent" (stopped before its turn) is
/// <skipped>; every other outcome is a <failure> whose message is "OUTCOME: DETAIL" and whose type
/// is the outcome. Suites and the whole carry the totals tests, failures, errors (always 0: a
/// printer that could not be asked is a failure of that printer), skipped and time (the whole's
/// `elapsed`; a suite's the sum of its printers', but never more than the whole's, since the
/// printers are worked on side by side).
std::string FleetJunit(const std::string& runName, const std::vector<JunitSuite>& suites,
                       std::chrono::milliseconds elapsed);

}  // namespace quorvel
