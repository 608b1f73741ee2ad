#include "printing/snmp_status.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/platform_error.h"
#include "fakes/fakes.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using testing::FakePacer;

SnmpValue Number(long long number) {
  return {SnmpValue::Kind::kNumber, number, ""};
}
SnmpValue Octets(std::string octets) {
  return {SnmpValue::Kind::kOctets, 0, std::move(octets)};
}

// An agent's values; `onGet` may change them as the questions come (the counter moving).
class FakeSession : public SnmpSession {
 public:
  SnmpValue Get(const std::string& oid) override {
    ++gets;
    if (silent) {
      throw PlatformError("SNMP h", "no answer");
    }
    if (onGet) {
      onGet(*this);
    }
    const auto found = values.find(oid);
    return found == values.end() ? SnmpValue{} : found->second;
  }
  std::optional<std::pair<std::string, SnmpValue>> Next(const std::string& oid) override {
    // Numeric OIDs of one table's column, all of the same length here, compare as text.
    const auto found = values.upper_bound(oid);
    if (found == values.end()) {
      return std::nullopt;
    }
    return *found;
  }

  std::map<std::string, SnmpValue> values;
  std::function<void(FakeSession&)> onGet;
  bool silent = false;
  int gets = 0;
};

TEST(SnmpStatus, ErrorStateBitsNameTheConditions) {
  struct Case {
    std::string octets;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {std::string(1, '\0'), {}},
      {"\x40", {"paper out"}},
      {"\x04", {"jam"}},
      {"\x02", {"offline"}},
      {"\x08", {"door open"}},
      {"\x80", {"low paper"}},
      {"\x46", {"paper out", "jam", "offline"}},
      {std::string("\0\x80", 2), {"input tray missing"}},
      {std::string("\0\x04", 2), {"input tray empty"}},
      {"\xFF\xFF",
       {"low paper", "paper out", "low toner", "toner out", "door open", "jam", "offline",
        "service requested", "input tray missing", "output tray missing", "marker supply missing",
        "output near full", "output full", "input tray empty", "overdue maintenance"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorStateWords(c.octets), c.words) << c.octets.size();
  }
}

TEST(SnmpStatus, HostOfEveryKindOfTarget) {
  const std::pair<std::string, std::string> cases[] = {
      {"printer", "printer"},
      {"printer:9100", "printer"},
      {"10.0.0.7:9101", "10.0.0.7"},
      {"[fe80::1]:9100", "fe80::1"},
      {"[::1]", "::1"},
      {"ipp://printer.local:631/ipp/print", "printer.local"},
      {"ipps://printer/ipp", "printer"},
      {"ipp://[::1]:631/printers/x", "::1"},
  };
  for (const auto& [target, host] : cases) {
    EXPECT_EQ(HostOf(target), host) << target;
  }
}

TEST(SnmpStatus, DeviceStateAndItsProblems) {
  FakeSession session;
  session.values = {
      {mib::kPageCounter, Number(48211)},
      {mib::kPrinterStatus, Number(1)},
      {mib::kDeviceStatus, Number(5)},
      {mib::kErrorState, Octets("\xC0")},
      {mib::kDeviceId, Octets("MFG:ACME;CMD:PCL;")},
      {std::string(mib::kAlertDescriptions) + ".1.1", Octets("Tray 1 empty")},
      {std::string(mib::kAlertDescriptions) + ".1.2", Octets(std::string(5000, 'x'))},
      {"1.3.6.1.2.1.43.18.1.1.9.1.1", Octets("another column")},
  };
  const DeviceState state = ReadDeviceState(session);
  EXPECT_EQ(state.pageCounter, 48211);
  EXPECT_EQ(state.printerStatus, 1);
  EXPECT_EQ(state.deviceStatus, 5);
  EXPECT_EQ(state.deviceId, "MFG:ACME;CMD:PCL;");
  ASSERT_EQ(state.alerts.size(), 2U);
  EXPECT_EQ(state.alerts[0], "Tray 1 empty");
  EXPECT_EQ(state.alerts[1].size(), 4096U);
  const std::vector<std::string> problems = DeviceProblems(state);
  ASSERT_EQ(problems.size(), 4U);
  EXPECT_EQ(problems[0], "paper out");  // low paper alone does not stop a printer
  EXPECT_EQ(problems[1], "device down");
  EXPECT_EQ(problems[2], "alert: Tray 1 empty");
  const std::vector<PrinterDetail> details = DeviceStateDetails(state);
  EXPECT_EQ(details[0], (PrinterDetail{"snmp printer status", "other"}));
  EXPECT_EQ(details[1], (PrinterDetail{"snmp device status", "down"}));
  EXPECT_EQ(details[2], (PrinterDetail{"snmp errors", "low paper, paper out"}));
  EXPECT_EQ(details.back(), (PrinterDetail{"device id", "MFG:ACME;CMD:PCL;"}));
}

TEST(SnmpStatus, AnAlertTableWithoutEndIsReadOnlyInPart) {
  FakeSession session;
  for (int i = 10; i < 99; ++i) {
    session.values[std::string(mib::kAlertDescriptions) + ".1." + std::to_string(i)] =
        Octets("alert " + std::to_string(i));
  }
  EXPECT_EQ(ReadDeviceState(session).alerts.size(), kMaxAlerts);
}

TEST(SnmpStatus, TheCounterDecides) {
  struct Case {
    const char* what;
    int movesAfterGets;  // the counter moves by one after this many GETs; 0: never
    int printerStatus;
    std::string errors;
    JobVerdict verdict;
    std::string detail;
  };
  const Case cases[] = {
      {"moves", 1, 3, "", JobVerdict::kPrinted, "1 page (counter 48211 -> 48212)"},
      {"moves later", 30, 3, "", JobVerdict::kPrinted, "1 page (counter 48211 -> 48212)"},
      {"still", 0, 3, "", JobVerdict::kNotPrinted,
       "the page counter did not move (counter 48211 -> 48211)"},
      {"paper out", 0, 1, "\x40", JobVerdict::kNotPrinted,
       "the page counter did not move (counter 48211 -> 48211); the printer reports: paper out"},
      {"moved, printing to the end", 1, 4, "", JobVerdict::kPrinted,
       "1 page (counter 48211 -> 48212)"},
  };
  for (const Case& c : cases) {
    FakeSession session;
    session.values = {{mib::kPageCounter, Number(48211)},
                      {mib::kPrinterStatus, Number(c.printerStatus)},
                      {mib::kErrorState, Octets(c.errors)}};
    session.onGet = [&c](FakeSession& agent) {
      if (c.movesAfterGets != 0 && agent.gets == c.movesAfterGets) {
        agent.values[mib::kPageCounter] = Number(48212);
      }
    };
    FakePacer pacer;
    const DeviceVerdict verdict = FollowPageCounter(session, 48211, milliseconds(5000), pacer);
    EXPECT_EQ(verdict.verdict, c.verdict) << c.what;
    EXPECT_EQ(verdict.detail, c.detail) << c.what;
    EXPECT_EQ(verdict.source, "snmp");
    EXPECT_LE(pacer.elapsed, milliseconds(5000)) << c.what;
  }
}

TEST(SnmpStatus, AnAgentThatStopsAnsweringConfirmsNothing) {
  FakeSession session;
  session.silent = true;
  FakePacer pacer;
  const DeviceVerdict verdict = FollowPageCounter(session, 48211, milliseconds(1000), pacer);
  EXPECT_EQ(verdict.verdict, JobVerdict::kNotConfirmed);
  EXPECT_EQ(verdict.detail,
            "the printer's agent gave no page counter after the job: SNMP h: no answer");
}

TEST(SnmpStatus, CtrlCEndsTheWatch) {
  FakeSession session;
  session.values = {{mib::kPageCounter, Number(7)}};
  FakePacer pacer;
  pacer.interruptAfter = 2;
  const DeviceVerdict verdict = FollowPageCounter(session, 7, milliseconds(60000), pacer);
  // Stopping the wait is no verdict: the counter may still move.
  EXPECT_EQ(verdict.verdict, JobVerdict::kNotConfirmed);
  EXPECT_EQ(verdict.detail,
            "stopped waiting (Ctrl-C) before the page counter moved (counter 7 -> 7)");
  EXPECT_EQ(pacer.pauses.size(), 3U);
}

}  // namespace
}  // namespace quorvel
