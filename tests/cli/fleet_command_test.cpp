// print and check over many printers, against a private cupsd of their own (so that --all sees
// exactly these queues): 30 raw queues to the capture listener, three disabled, two rejecting.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/json_text.h"
#include "fakes/expected_pages.h"
#include "platform/cups/cups_test_support.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kDisabled = {"F0005", "F0010", "F0015"};
const std::set<std::string> kRejecting = {"F0020", "F0025"};
constexpr std::size_t kQueues = 31;  // F0001 ... F0030 and Virtual
constexpr std::size_t kDelivered = kQueues - 3 - 2;

std::string Script() {
  return std::string(QUORVEL_SCRIPTS_DIR) + "/test-spooler";
}

// A private scheduler for one test, stopped (by PID, through test-spooler) when the test ends.
class FleetCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::string(QUORVEL_SPOOLER_DIR) + "-fleet-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RunOrThrow("QUORVEL_CLI='" QUORVEL_CLI_PATH "' '" + Script() + "' start '" + dir_ +
               "' >/dev/null");
    for (std::istringstream env(ReadFile(dir_ + "/env")); env;) {
      std::string line;
      std::getline(env, line);
      const std::size_t eq = line.find('=');
      if (eq != std::string::npos) {
        values_[line.substr(0, eq)] = line.substr(eq + 1);
      }
    }
    const std::string uri = "socket://127.0.0.1:" + values_["QUORVEL_CAPTURE_PORT"];
    RunOrThrow("'" + Script() + "' add-queues '" + dir_ + "' F 30 '" + uri + "'");
    for (const std::string& queue : kDisabled) {
      RunOrThrow("cupsdisable -h " + Server() + " " + queue);
    }
    for (const std::string& queue : kRejecting) {
      RunOrThrow("cupsreject -h " + Server() + " " + queue);
    }
  }
  void TearDown() override { std::system(("'" + Script() + "' stop '" + dir_ + "'").c_str()); }

  static void RunOrThrow(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
      throw std::runtime_error("failed: " + command);
    }
  }
  std::string Server() { return values_["CUPS_SERVER"]; }
  const std::string& Dir() const { return dir_; }
  std::string CaptureDir() { return values_["QUORVEL_CAPTURE_DIR"]; }
  std::string CapturePort() { return values_["QUORVEL_CAPTURE_PORT"]; }

  CommandResult Cli(const std::string& arguments) {
    const std::string home = dir_ + "/home";
    fs::create_directories(home);
    return RunCommand("env -u LPDEST -u PRINTER CUPS_SERVER=" + Server() + " HOME='" + home +
                      "' CUPS_SERVERROOT='" + dir_ + "/conf' '" QUORVEL_CLI_PATH "' " + arguments);
  }

  // Every capture once the expected number arrived and a further second passed (a job sent
  // twice would arrive by then).
  std::vector<std::string> Delivered(std::size_t expected) {
    std::vector<std::string> names =
        WaitForCaptures(CaptureDir(), expected, std::chrono::seconds(60));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return Captures(CaptureDir());
  }

 private:
  std::string dir_;
  std::map<std::string, std::string> values_;
};

// Times and job ids vary from run to run; the rest of a report is fixed.
std::string Steady(std::string text) {
  text = std::regex_replace(text, std::regex("[0-9]+\\.[0-9]{2} s"), "S s");
  text = std::regex_replace(text, std::regex("\"seconds\": [0-9.]+"), "\"seconds\": S");
  text = std::regex_replace(text, std::regex("\"job\": [0-9]+"), "\"job\": N");
  return std::regex_replace(text, std::regex("(job|Job) [0-9]+"), "$1 N");
}

std::vector<std::string> AllQueues() {
  std::vector<std::string> queues = {"Virtual"};
  for (int i = 1; i <= 30; ++i) {
    char name[16];  // room for any int, so no build warns of truncation
    std::snprintf(name, sizeof name, "F%04d", i);
    queues.emplace_back(name);
  }
  return queues;
}

TEST_F(FleetCli, PrintAllSendsEveryAcceptingQueueOneExactJob) {
  const CommandResult result = Cli("print pcl --all --jobs 4");
  EXPECT_EQ(result.status, 4) << result.err;
  EXPECT_EQ(result.err, "");
  std::vector<std::string> lines = Lines(Steady(result.out));
  ASSERT_EQ(lines.size(), kQueues + 1) << result.out;
  EXPECT_EQ(lines.back(), "31 printers in S s: 29 executed, 2 failed");
  lines.pop_back();
  std::set<std::string> expected;
  for (const std::string& queue : AllQueues()) {
    expected.insert(kRejecting.count(queue) != 0
                        ? queue +
                              ": failed, S s: The test page could not be sent to the "
                              "printer. Create-Job: Destination \"" +
                              queue + "\" is not accepting jobs."
                        : queue + ": executed, job N, S s");
  }
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expected);
  // Each job has an id of its own, and each queue holds exactly one job.
  std::set<std::string> ids;
  for (const std::string& line : Lines(result.out)) {
    std::smatch id;
    if (std::regex_search(line, id, std::regex("job ([0-9]+),"))) {
      EXPECT_TRUE(ids.insert(id[1]).second) << line;
    }
  }
  EXPECT_EQ(ids.size(), kQueues - 2);
  cupsSetServer(Server().c_str());
  for (const std::string& queue : AllQueues()) {
    EXPECT_EQ(Jobs(queue).size(), kRejecting.count(queue) != 0 ? 0U : 1U) << queue;
  }
  const std::vector<std::string> captures = Delivered(kDelivered);
  ASSERT_EQ(captures.size(), kDelivered);
  for (const std::string& capture : captures) {
    EXPECT_EQ(ReadFile(capture), ExpectedPclJob()) << capture;
  }
}

TEST_F(FleetCli, WaitFollowsEveryJobAndJsonGivesTheSameFields) {
  const CommandResult result = Cli("print dot-matrix --all --wait=30 --format json");
  EXPECT_EQ(result.status, 4) << result.err;
  const std::string json = Steady(result.out);
  EXPECT_NE(json.find("\"summary\": {\"printers\": 31, \"seconds\": S, \"printed\": 26, "
                      "\"executed\": 0, \"ready\": 0, \"notConfirmed\": 0, \"notPrinted\": 3, "
                      "\"notReady\": 0, \"notRecognized\": 0, \"failed\": 2, \"notSent\": 0, "
                      "\"refused\": 0, "
                      "\"confirmedBy\": {\"spooler\": 29}},\n \"exitStatus\": 4}\n"),
            std::string::npos)
      << json;
  for (const std::string& queue : AllQueues()) {
    std::string item = "{\"printer\": \"" + queue + "\", \"outcome\": \"printed\", \"job\": N, " +
                       "\"seconds\": S, \"detail\": \"\", \"confirmedBy\": \"spooler\"}";
    if (kDisabled.count(queue) != 0) {
      item = "{\"printer\": \"" + queue +
             "\", \"outcome\": \"not printed\", \"job\": N, \"seconds\": S, \"detail\": "
             "\"Not printed: job N on " +
             queue + " is pending and the printer is stopped. Job N: pending; Printer " + queue +
             ": stopped, \\\"Paused\\\" (paused)\", \"confirmedBy\": \"spooler\"}";
    } else if (kRejecting.count(queue) != 0) {
      item = "{\"printer\": \"" + queue +
             "\", \"outcome\": \"failed\", \"job\": null, \"seconds\": S, \"detail\": \"The test "
             "page could not be sent to the printer. Create-Job: Destination \\\"" +
             queue + "\\\" is not accepting jobs.\", \"confirmedBy\": null}";
    }
    const std::size_t at = json.find(item);
    EXPECT_NE(at, std::string::npos) << item << "\n" << json;
    EXPECT_EQ(json.find(item, at + 1), std::string::npos) << "twice: " << item;
  }
  const std::vector<std::string> captures = Delivered(kDelivered);
  ASSERT_EQ(captures.size(), kDelivered);
  for (const std::string& capture : captures) {
    EXPECT_EQ(ReadFile(capture), ExpectedDotMatrixJob()) << capture;
  }
  // A document a JSON reader takes whole, with an item for every queue.
  json::Value report;
  ASSERT_NO_THROW(report = json::Value::parse(result.out)) << result.out;
  std::set<std::string> printers;
  for (const json::Value& item : report.at("printers")) {
    printers.insert(item.at("printer").get<std::string>());
  }
  const std::vector<std::string> queues = AllQueues();
  EXPECT_EQ(printers, std::set<std::string>(queues.begin(), queues.end()));
  EXPECT_EQ(report.at("summary").at("printed"), kDelivered);
  EXPECT_EQ(report.at("exitStatus"), 4);
}

TEST_F(FleetCli, ExitStatusIsTheWorstOfTheSinglePrinterStatuses) {
  const std::string port = CapturePort();
  const std::string closed = std::to_string(UnusedPort());
  struct Case {
    std::string arguments;
    int status;
    std::string summary;
  };
  const Case cases[] = {
      {"print pcl --printer F0001 --printer F0002", 0, "2 printers in S s: 2 executed"},
      {"print pcl --printer F0001 --printer F0001 --printer F0003", 0,
       "2 printers in S s: 2 executed"},
      {"print pcl --printer F0001 --printer F0005 --wait=30", 5,
       "2 printers in S s: 1 printed, 1 not printed"},
      {"print pcl --printer F0001 --printer Nope --printer F0005 --wait=30", 3,
       "3 printers in S s: 1 printed, 1 not printed, 1 not recognized"},
      {"print pcl --printer Nope --printer F0020", 4,
       "2 printers in S s: 1 not recognized, 1 failed"},
      {"print pcl --to 127.0.0.1:" + port + " --to 127.0.0.1:" + closed, 4,
       "2 printers in S s: 1 executed, 1 failed"},
      {"print pcl --to 127.0.0.1:" + port + " --to 127.0.0.1:" + port + " --wait", 6,
       "1 printer in S s: 1 not confirmed"},
      {"check --all", 5, "31 printers in S s: 26 ready, 5 not ready"},
      {"check --printer F0001 --printer Nope", 3, "2 printers in S s: 1 ready, 1 not recognized"},
      {"check --to 127.0.0.1:" + port + " --to 127.0.0.1:" + closed, 5,
       "2 printers in S s: 1 ready, 1 not ready"},
  };
  for (const Case& c : cases) {
    const CommandResult result = Cli(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.out << result.err;
    const std::vector<std::string> lines = Lines(Steady(result.out));
    ASSERT_FALSE(lines.empty()) << c.arguments;
    EXPECT_EQ(lines.back(), c.summary) << c.arguments;
  }
  // Six jobs through queues and two straight to the listener's port, none twice; the jobs for
  // the disabled queue wait there. check's connection to the port sends nothing.
  std::size_t jobs = 0;
  for (const std::string& capture : Delivered(9)) {
    const std::string bytes = ReadFile(capture);
    if (!bytes.empty()) {
      EXPECT_EQ(bytes, ExpectedPclJob()) << capture;
      ++jobs;
    }
  }
  EXPECT_EQ(jobs, 8U);
}

// Ctrl-C while the jobs are followed: every printer is reported, the job that is still
// processing keeps its place in the queue.
TEST_F(FleetCli, CtrlCLeavesTheSentJobsAlone) {
  RunOrThrow("'" + Script() + "' add-queue '" + Dir() +
             "' Dead socket://127.0.0.1:" + std::to_string(UnusedPort()) + " >/dev/null");
  const std::string lpstat = "lpstat -h " + Server() + " -o Dead";
  const CommandResult result =
      Cli("print pcl --printer F0001 --printer Dead --wait=120 & pid=$!; "
          "until " +
          lpstat +
          " 2>/dev/null | grep -q .; do sleep 0.1; "
          "done; sleep 0.5; kill -INT $pid; wait $pid");
  EXPECT_EQ(result.status, 6) << result.err;
  std::vector<std::string> lines = Lines(Steady(result.out));
  ASSERT_EQ(lines.size(), 3U) << result.out;
  EXPECT_EQ(lines[0], "F0001: printed, job N, S s");
  EXPECT_EQ(lines[1].rfind("Dead: not confirmed, job N, S s: Stopped waiting: job N on Dead is "
                           "left as it is (processing).",
                           0),
            0U)
      << lines[1];
  EXPECT_EQ(lines[2], "2 printers in S s: 1 printed, 1 not confirmed");
  EXPECT_EQ(RunCommand(lpstat + " | wc -l").out, "1\n");
}

}  // namespace
}  // namespace quorvel::testing
