#include "platform/cups/cups_job_tracker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "common/platform_error.h"
#include "platform/cups/cups_printer_list.h"
#include "platform/cups/cups_spooler.h"
#include "platform/cups/cups_test_support.h"

namespace quorvel::testing {
namespace {

using platform::cups::CupsJobTracker;
using platform::cups::CupsPrinterList;
using platform::cups::CupsSpooler;
using Clock = std::chrono::steady_clock;

// The exact-name look-up answers as the full list would: the server's spelling of the queue,
// and an instance only as the lpoptions files spell it.
TEST(CupsDirectLookUp, FindsOnlyNamesTheListHoldsExactly) {
  UseTestSpooler();
  const std::string lpoptions = std::string(std::getenv("HOME")) + "/.cups/lpoptions";
  WriteFile(lpoptions, "Dest Virtual/twice copies=2\n");
  const struct {
    const char* name;
    bool found;
  } cases[] = {
      {"Virtual", true},       {"virtual", false},       {"VIRTUAL", false},
      {"Virtual ", false},     {" Virtual", false},      {"", false},
      {"Nowhere", false},      {"Virtual/twice", true},  {"Virtual/Twice", false},
      {"Virtual/once", false}, {"virtual/twice", false}, {"/twice", false},
  };
  CupsPrinterList list;
  const std::vector<std::string> names = list.DeviceNames();
  for (const auto& c : cases) {
    EXPECT_EQ(list.HasDeviceName(c.name), c.found) << "'" << c.name << "'";
    EXPECT_EQ(std::find(names.begin(), names.end(), c.name) != names.end(), c.found)
        << "'" << c.name << "' in the full list";
  }
  std::filesystem::remove(lpoptions);
}

TEST(CupsJobTracker, FollowsTheSubmittedJobAndKnowsWhenAJobIdIsUnknown) {
  UseTestSpooler();
  CupsSpooler spooler;
  ASSERT_TRUE(spooler.Open("Virtual"));
  spooler.StartDocument("Command Print");
  spooler.StartPage();
  spooler.Write("\x1B@\f");
  spooler.EndPage();
  spooler.EndDocument();
  const std::optional<JobRef> job = spooler.SubmittedJob();
  ASSERT_TRUE(job.has_value());
  EXPECT_EQ(job->printer, "Virtual");
  EXPECT_GT(job->id, 0);

  CupsJobTracker tracker;
  const std::vector<JobStatus> statuses = tracker.QueryJobs({*job, {"Virtual", 999999}});
  ASSERT_EQ(statuses.size(), 2u);
  EXPECT_NE(statuses[0].state, JobState::kGone);
  EXPECT_EQ(statuses[1].state, JobState::kGone);
}

JobRef SubmitTo(const std::string& queue) {
  CupsSpooler spooler;
  EXPECT_TRUE(spooler.Open(queue));
  spooler.StartDocument("Command Print");
  spooler.StartPage();
  spooler.Write("\x1B@\f");
  spooler.EndPage();
  spooler.EndDocument();
  return spooler.SubmittedJob().value_or(JobRef{});
}

// Many jobs and many queues in one question each, in the order asked; a held job and a queue
// that does not exist keep their places.
TEST(CupsJobTracker, AnswersForManyJobsAndQueuesAtOnce) {
  UseTestSpooler();
  AddQueue("Held", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  AddQueue("Stopped", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  RunChecked("cupsdisable -h " + UseTestSpooler().server + " Stopped");
  const JobRef printed = SubmitTo("Virtual");
  const JobRef held = SubmitTo("Held");
  RunChecked("lp -h " + UseTestSpooler().server + " -i " + std::to_string(held.id) +
             " -H indefinite >/dev/null");
  CupsJobTracker tracker;
  std::vector<JobStatus> statuses;
  for (int i = 0; i < 100; ++i) {
    statuses = tracker.QueryJobs({held, printed});
    if (statuses.at(1).state == JobState::kCompleted) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_EQ(statuses.size(), 2u);
  EXPECT_EQ(statuses[0].state, JobState::kHeld);
  EXPECT_EQ(statuses[1].state, JobState::kCompleted);

  const std::vector<PrinterStatus> printers =
      tracker.QueryPrinters({"Stopped", "Nowhere", "Virtual", "Held"});
  ASSERT_EQ(printers.size(), 4u);
  EXPECT_TRUE(printers[0].exists);
  EXPECT_EQ(printers[0].state, PrinterState::kStopped);
  EXPECT_EQ(printers[0].reasons, std::vector<std::string>{"paused"});
  EXPECT_FALSE(printers[1].exists);
  EXPECT_TRUE(printers[2].exists);
  EXPECT_NE(printers[2].state, PrinterState::kStopped);
  EXPECT_TRUE(printers[3].acceptingJobs);
  RunChecked("cancel -h " + UseTestSpooler().server + " " + std::to_string(held.id));
}

TEST(CupsJobTracker, TellsHowAQueueStands) {
  UseTestSpooler();
  AddQueue("Paused", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  RunChecked("cupsdisable -h " + UseTestSpooler().server + " Paused");
  CupsJobTracker tracker;
  const PrinterStatus paused = tracker.QueryPrinter("Paused");
  EXPECT_TRUE(paused.exists);
  EXPECT_EQ(paused.state, PrinterState::kStopped);
  EXPECT_EQ(paused.message, "Paused");
  EXPECT_EQ(paused.reasons, std::vector<std::string>{"paused"});

  const PrinterStatus virtualQueue = tracker.QueryPrinter("Virtual");
  EXPECT_TRUE(virtualQueue.acceptingJobs);
  EXPECT_EQ(virtualQueue.details,
            (std::vector<PrinterDetail>{{"queue", "raw"}, {"device", "socket"}}));
  EXPECT_FALSE(tracker.QueryPrinter("Nowhere").exists);
}

TEST(CupsJobTracker, AServerThatStopsAnsweringFailsEachQuestionWithinTheBound) {
  UseTestSpooler();
  const SilentServer silent;
  const ScopedServer server("127.0.0.1:" + std::to_string(silent.Port()));
  CupsJobTracker tracker;
  const Clock::time_point start = Clock::now();
  try {
    tracker.QueryJobs({{"Virtual", 1}});
    ADD_FAILURE() << "a silent server answered";
  } catch (const PlatformError& e) {
    EXPECT_NE(e.Reason().find("did not answer within"), std::string::npos) << e.Reason();
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
}

// libcups says "Host is down" for every connect that fails; the reason given is the system's.
TEST(CupsConnection, AClosedPortIsConnectionRefused) {
  UseTestSpooler();
  const ScopedServer server("127.0.0.1:" + std::to_string(UnusedPort()));
  CupsPrinterList list;
  try {
    list.DeviceNames();
    ADD_FAILURE() << "a closed port answered";
  } catch (const PlatformError& e) {
    EXPECT_EQ(e.Reason(), "Connection refused");
  }
}

}  // namespace
}  // namespace quorvel::testing
