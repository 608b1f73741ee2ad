// printers, print and check over two print servers at once: two private cupsd instances of the
// test's own (loopback only), each with its capture listener, and a third address where nothing
// listens. The JUnit report is read back with Qt's XML reader.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fakes/expected_pages.h"
#include "platform/cups/cups_test_support.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

std::string Script() {
  return std::string(QUORVEL_SCRIPTS_DIR) + "/test-spooler";
}

void RunOrThrow(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("failed: " + command);
  }
}

// One private scheduler: its folder, CUPS_SERVER and capture folder.
struct Spooler {
  std::string dir;
  std::map<std::string, std::string> env;

  void Start(const std::string& folder) {
    dir = folder;
    RunOrThrow("QUORVEL_CLI='" QUORVEL_CLI_PATH "' '" + Script() + "' start '" + dir +
               "' >/dev/null");
    for (std::istringstream lines(ReadFile(dir + "/env")); lines;) {
      std::string line;
      std::getline(lines, line);
      const std::size_t eq = line.find('=');
      if (eq != std::string::npos) {
        env[line.substr(0, eq)] = line.substr(eq + 1);
      }
    }
  }
  void Stop() const { std::system(("'" + Script() + "' stop '" + dir + "'").c_str()); }
  std::string Server() const { return env.at("CUPS_SERVER"); }
  std::string Captures() const { return env.at("QUORVEL_CAPTURE_DIR"); }
  std::string Listener() const { return "socket://127.0.0.1:" + env.at("QUORVEL_CAPTURE_PORT"); }
};

// Server A has the queue Virtual; server B has Virtual and Second, both to B's listener.
class ServersCli : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string base = std::string(QUORVEL_SPOOLER_DIR) + "-servers-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    a_.Start(base + "-a");
    b_.Start(base + "-b");
    RunOrThrow("'" + Script() + "' add-queue '" + b_.dir + "' Second " + b_.Listener() +
               " >/dev/null");
    down_ = "127.0.0.1:" + std::to_string(UnusedPort());
  }
  void TearDown() override {
    a_.Stop();
    b_.Stop();
  }

  // quorvel-cli with the user's own server at A, and no lpoptions of the machine's.
  CommandResult Cli(const std::string& arguments) {
    const std::string home = a_.dir + "/home";
    fs::create_directories(home);
    return RunCommand("env -u LPDEST -u PRINTER CUPS_SERVER=" + a_.Server() + " HOME='" + home +
                      "' CUPS_SERVERROOT='" + a_.dir + "/conf' '" QUORVEL_CLI_PATH "' " +
                      arguments);
  }

  // Every capture once the expected number arrived and a further second passed (a job sent
  // twice would arrive by then).
  static std::vector<std::string> Delivered(const Spooler& spooler, std::size_t expected) {
    WaitForCaptures(spooler.Captures(), expected, std::chrono::seconds(60));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return quorvel::testing::Captures(spooler.Captures());
  }

  Spooler a_;
  Spooler b_;
  std::string down_;  // HOST:PORT where nothing listens
};

// Times and job ids vary from run to run; the rest of a report is fixed.
std::string Steady(std::string text) {
  text = std::regex_replace(text, std::regex("[0-9]+\\.[0-9]{2} s"), "S s");
  return std::regex_replace(text, std::regex("(job|Job) [0-9]+"), "$1 N");
}

std::set<std::string> AsSet(const std::vector<std::string>& lines) {
  return {lines.begin(), lines.end()};
}

TEST_F(ServersCli, PrintersListsEachServersQueuesAndGoesOnPastOneDown) {
  const std::string a = a_.Server();
  const std::string b = b_.Server();
  CommandResult result = Cli("printers --server " + a + " --server " + b);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Lines(result.out),
            (std::vector<std::string>{a + "/Virtual", b + "/Second", b + "/Virtual"}));

  result = Cli("printers --server " + down_ + " --server " + b + " --server " + b);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{b + "/Second", b + "/Virtual"}));
  EXPECT_EQ(result.err, "quorvel-cli: the printer list of " + down_ +
                            " could not be read.\nConnect to " + down_ + ": Connection refused\n");

  // Each name listed, given back, reaches that queue: with its --server or without, never as
  // SERVER/SERVER/QUEUE; the user's own server (A) has a Virtual too, which it must not reach.
  for (const std::string& name : Lines(Cli("printers --server " + b).out)) {
    for (const std::string& server : {std::string(), " --server " + b}) {
      result = Cli("check --printer " + name + server);
      EXPECT_EQ(result.status, 0) << name << server << ": " << result.out << result.err;
      EXPECT_EQ(result.out.rfind(name + ": ready, ", 0), 0U) << name << server << result.out;
    }
  }

  // A value that is no HOST[:PORT] is a usage error.
  EXPECT_EQ(Cli("printers --server " + a + "/Virtual").status, 2);
  EXPECT_EQ(Cli("print pcl --server " + a).status, 2);  // neither --printer nor --all
}

TEST_F(ServersCli, PrintAllSendsEveryQueueOfBothServersOneExactJob) {
  const std::string a = a_.Server();
  const std::string b = b_.Server();
  const CommandResult result =
      Cli("print dot-matrix --all --server " + a + " --server " + b + " --wait=30 --jobs 2");
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  EXPECT_EQ(result.err, "");
  std::vector<std::string> lines = Lines(Steady(result.out));
  ASSERT_EQ(lines.size(), 4U) << result.out;
  EXPECT_EQ(lines.back(), "3 printers in S s: 3 printed");
  lines.pop_back();
  EXPECT_EQ(AsSet(lines), (std::set<std::string>{a + "/Virtual: printed, job N, S s",
                                                 b + "/Virtual: printed, job N, S s",
                                                 b + "/Second: printed, job N, S s"}));
  const std::vector<std::string> atA = Delivered(a_, 1);
  const std::vector<std::string> atB = Delivered(b_, 2);
  ASSERT_EQ(atA.size(), 1U);
  ASSERT_EQ(atB.size(), 2U);
  for (const std::string& capture : {atA[0], atB[0], atB[1]}) {
    EXPECT_EQ(ReadFile(capture), ExpectedDotMatrixJob()) << capture;
  }
}

TEST_F(ServersCli, AServerDownFailsItsOwnQueuesOnly) {
  const std::string a = a_.Server();
  const std::string b = b_.Server();
  struct Case {
    std::string arguments;
    int status;
    std::set<std::string> lines;
  };
  const Case cases[] = {
      {"print pcl --all --server " + a + " --server " + down_ + " --server " + b,
       4,
       {a + "/Virtual: executed, job N, S s", b + "/Virtual: executed, job N, S s",
        b + "/Second: executed, job N, S s",
        down_ + ": failed, S s: the print server's queues could not be listed: Connect to " +
            down_ + ": Connection refused",
        "4 printers in S s: 3 executed, 1 failed"}},
      {"print pcl --printer Second --server " + b + " --server " + down_ + " --server " + a,
       4,
       {b + "/Second: executed, job N, S s",
        down_ + "/Second: failed, S s: the print server could not be reached: Connect to " + down_ +
            ": Connection refused",
        a + "/Second: not recognized, S s: The Printer Name you typed wasn't recognized.",
        "3 printers in S s: 1 executed, 1 not recognized, 1 failed"}},
      // print auto: every queue goes the road with its options, the page chosen queue by queue.
      {"print auto --printer Virtual --server " + b + " --server " + down_ + " --wait=5",
       2,
       {b + "/Virtual: refused, S s: can't tell which page suits Virtual: name it (it gives no "
            "device ID)",
        down_ + "/Virtual: failed, S s: the print server could not be reached: Connect to " +
            down_ + ": Connection refused",
        "2 printers in S s: 1 failed, 1 refused"}},
      {"check --printer Virtual --server " + down_ + " --server " + b,
       4,
       {b + "/Virtual: ready, S s",
        down_ + "/Virtual: failed, S s: the print server could not be reached: Connect to " +
            down_ + ": Connection refused",
        "2 printers in S s: 1 ready, 1 failed"}},
  };
  for (const Case& c : cases) {
    const CommandResult result = Cli(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.out << result.err;
    EXPECT_EQ(AsSet(Lines(Steady(result.out))), c.lines) << c.arguments << "\n" << result.out;
  }
  // Four jobs in all: three on the first run, one on the second.
  EXPECT_EQ(Delivered(a_, 1).size(), 1U);
  EXPECT_EQ(Delivered(b_, 3).size(), 3U);
}

// A JUnit report as the XML reader sees it.
struct Testcase {
  std::string classname;
  std::string name;
  std::string failure;  // the failure's message; empty when it passed
  std::string failureType;
  bool timed = false;  // time="S.SSS"
};
struct Testsuite {
  std::string name;
  std::map<std::string, std::string> totals;  // tests, failures, errors, skipped
  std::vector<Testcase> cases;
};
struct Report {
  std::map<std::string, std::string> totals;
  std::vector<Testsuite> suites;
  std::string error;  // the reader's error, if the document is not well-formed
};

std::string Attr(const QXmlStreamReader& xml, const char* name) {
  return xml.attributes().value(QString::fromLatin1(name)).toString().toStdString();
}

Report ParseJunit(const std::string& text) {
  Report report;
  QXmlStreamReader xml(QByteArray::fromStdString(text));
  const std::regex seconds("[0-9]+\\.[0-9]{3}");
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) {
      continue;
    }
    const std::string element = xml.name().toString().toStdString();
    std::map<std::string, std::string> totals;
    for (const char* total : {"tests", "failures", "errors", "skipped"}) {
      totals[total] = Attr(xml, total);
    }
    totals["time ok"] = std::regex_match(Attr(xml, "time"), seconds) ? "yes" : "no";
    if (element == "testsuites") {
      report.totals = totals;
    } else if (element == "testsuite") {
      report.suites.push_back({Attr(xml, "name"), totals, {}});
    } else if (element == "testcase" && !report.suites.empty()) {
      report.suites.back().cases.push_back({Attr(xml, "classname"), Attr(xml, "name"), "", "",
                                            std::regex_match(Attr(xml, "time"), seconds)});
    } else if (element == "failure" && !report.suites.empty() &&
               !report.suites.back().cases.empty()) {
      report.suites.back().cases.back().failure = Attr(xml, "message");
      report.suites.back().cases.back().failureType = Attr(xml, "type");
    }
  }
  if (xml.hasError()) {
    report.error = xml.errorString().toStdString();
  }
  return report;
}

std::map<std::string, std::string> Totals(const std::string& tests, const std::string& failures,
                                          const std::string& skipped) {
  return {{"tests", tests},
          {"failures", failures},
          {"errors", "0"},
          {"skipped", skipped},
          {"time ok", "yes"}};
}

TEST_F(ServersCli, JunitHasASuitePerServerAndACasePerPrinter) {
  const std::string a = a_.Server();
  const std::string b = b_.Server();
  RunOrThrow("cupsdisable -h " + b + " Second");
  CommandResult result = Cli("check --all --server " + a + " --server " + b + " --server " + down_ +
                             " --format junit");
  EXPECT_EQ(result.status, 4) << result.err;
  Report report = ParseJunit(result.out);
  ASSERT_EQ(report.error, "") << result.out;
  EXPECT_EQ(report.totals, Totals("4", "2", "0"));
  ASSERT_EQ(report.suites.size(), 3U) << result.out;
  EXPECT_EQ(report.suites[0].name, a);
  EXPECT_EQ(report.suites[0].totals, Totals("1", "0", "0"));
  ASSERT_EQ(report.suites[0].cases.size(), 1U);
  EXPECT_EQ(report.suites[0].cases[0].classname, a);
  EXPECT_EQ(report.suites[0].cases[0].name, "Virtual");
  EXPECT_EQ(report.suites[0].cases[0].failure, "");
  EXPECT_TRUE(report.suites[0].cases[0].timed);

  EXPECT_EQ(report.suites[1].name, b);
  EXPECT_EQ(report.suites[1].totals, Totals("2", "1", "0"));
  ASSERT_EQ(report.suites[1].cases.size(), 2U);
  EXPECT_EQ(report.suites[1].cases[0].name, "Second");
  EXPECT_EQ(report.suites[1].cases[0].failureType, "not ready");
  EXPECT_EQ(report.suites[1].cases[0].failure.rfind("not ready: ", 0), 0U)
      << report.suites[1].cases[0].failure;
  EXPECT_NE(report.suites[1].cases[0].failure.find("stopped"), std::string::npos)
      << report.suites[1].cases[0].failure;
  EXPECT_EQ(report.suites[1].cases[1].name, "Virtual");
  EXPECT_EQ(report.suites[1].cases[1].failure, "");

  EXPECT_EQ(report.suites[2].name, down_);
  EXPECT_EQ(report.suites[2].totals, Totals("1", "1", "0"));
  ASSERT_EQ(report.suites[2].cases.size(), 1U);
  EXPECT_EQ(report.suites[2].cases[0].name, "(queues)");
  EXPECT_EQ(report.suites[2].cases[0].failure,
            "failed: the print server's queues could not be listed: Connect to " + down_ +
                ": Connection refused");

  // Without --server: one suite, named after the user's own server; a single check too.
  result = Cli("print pcl --printer Virtual --printer Nope --format junit");
  EXPECT_EQ(result.status, 3) << result.err;
  report = ParseJunit(result.out);
  ASSERT_EQ(report.error, "") << result.out;
  EXPECT_EQ(report.totals, Totals("2", "1", "0"));
  ASSERT_EQ(report.suites.size(), 1U);
  EXPECT_EQ(report.suites[0].name, a);
  ASSERT_EQ(report.suites[0].cases.size(), 2U);
  EXPECT_EQ(report.suites[0].cases[0].name, "Virtual");
  EXPECT_EQ(report.suites[0].cases[1].name, "Nope");
  EXPECT_EQ(report.suites[0].cases[1].failure,
            "not recognized: The Printer Name you typed wasn't recognized.");

  result = Cli("check --printer Virtual --format junit");
  EXPECT_EQ(result.status, 0) << result.err;
  report = ParseJunit(result.out);
  ASSERT_EQ(report.error, "") << result.out;
  EXPECT_EQ(report.totals, Totals("1", "0", "0"));

  // A name that is not UTF-8, with a control character: each such byte is U+FFFD in the XML.
  result = Cli("print pcl --to \"$(printf 'h\\303x\\001:1')\" --format junit");
  EXPECT_EQ(result.status, 4) << result.err;
  report = ParseJunit(result.out);
  ASSERT_EQ(report.error, "") << result.out;
  ASSERT_EQ(report.suites.size(), 1U) << result.out;
  ASSERT_EQ(report.suites[0].cases.size(), 1U) << result.out;
  EXPECT_EQ(report.suites[0].cases[0].name, "h\xEF\xBF\xBDx\xEF\xBF\xBD:1");
  EXPECT_EQ(report.suites[0].cases[0].failureType, "failed");

  // Naming no printer checks the default one, and there is none yet.
  result = Cli("check --format junit");
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "quorvel-cli: no printer was named and the user has no default.\n");
  RunOrThrow("lpadmin -h " + a + " -d Virtual");
  result = Cli("check --format junit");
  EXPECT_EQ(result.status, 0) << result.err;
  report = ParseJunit(result.out);
  ASSERT_EQ(report.suites.size(), 1U) << result.out;
  ASSERT_EQ(report.suites[0].cases.size(), 1U) << result.out;
  EXPECT_EQ(report.suites[0].cases[0].name, "Virtual");
}

}  // namespace
}  // namespace quorvel::testing
