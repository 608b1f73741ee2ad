#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/platform_error.h"
#include "fakes/expected_pages.h"
#include "platform/net/capture_file.h"
#include "platform/net/capture_server.h"
#include "platform/net/loopback.h"

namespace quorvel::net {
namespace {

using namespace std::chrono_literals;
using testing::ReadFile;
using testing::RunningServer;
using testing::TempFolder;

CaptureOptions Options(const TempFolder& folder) {
  CaptureOptions options;
  options.port = 0;
  options.directory = folder.Path();
  return options;
}

// A client that sends `bytes`, closes its side and waits for the server to close.
void SendJob(const Endpoint& endpoint, std::string_view bytes) {
  const Socket socket = Connect(endpoint, 5s);
  SendAll(socket, bytes, 5s);
  FinishSending(socket, 10s);
}

TEST(CaptureFile, NumbersJobsAndNeverOverwrites) {
  TempFolder folder;
  std::ofstream(folder.Path() / "job-000002.prn") << "older job";
  std::ofstream(folder.Path() / "job-000003.prn.part") << "job being written";
  unsigned number = 1;
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    CaptureFile file(folder.Path(), number);
    file.Write("job " + std::to_string(i));
    names.push_back(file.Finish().filename().string());
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"job-000001.prn", "job-000004.prn", "job-000005.prn"}));
  EXPECT_EQ(ReadFile(folder.Path() / "job-000002.prn"), "older job");
  EXPECT_EQ(ReadFile(folder.Path() / "job-000004.prn"), "job 1");
  EXPECT_EQ(number, 6u);
}

TEST(CaptureFile, NextNumberFollowsTheHighestJobFile) {
  TempFolder folder;
  EXPECT_EQ(NextJobNumber(folder.Path()), 1u);
  EXPECT_EQ(NextJobNumber(folder.Path() / "missing"), 1u);
  for (const char* name : {"job-000007.prn", "job-000009.prn.part", "job-000100.txt",
                           "job-12345.prn", "job-00000x.prn", "notes.prn"}) {
    std::ofstream(folder.Path() / name) << "x";
  }
  EXPECT_EQ(NextJobNumber(folder.Path()), 10u);
}

TEST(CaptureFile, KeepsThePartNameUntilFinished) {
  TempFolder folder;
  unsigned number = 1;
  CaptureFile file(folder.Path(), number);
  file.Write("half");
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "job-000001.prn.part"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "job-000001.prn"));
  file.Finish();
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "job-000001.prn.part"));
}

TEST(CaptureServer, SavesBothTestJobsByteForByte) {
  TempFolder folder;
  RunningServer server(Options(folder));
  const std::vector<std::string> jobs{testing::ExpectedDotMatrixJob(), testing::ExpectedPclJob()};
  for (const std::string& job : jobs) {
    SendJob(server.Endpoint(), job);
  }
  const std::vector<CapturedJob> captured = server.WaitForJobs(2);
  ASSERT_EQ(captured.size(), 2u);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    EXPECT_EQ(captured[i].end, JobEnd::kClosed);
    EXPECT_EQ(captured[i].bytes, jobs[i].size());
    EXPECT_EQ(captured[i].file.filename().string(), JobFileName(static_cast<unsigned>(i + 1)));
    EXPECT_EQ(ReadFile(captured[i].file), jobs[i]);
    EXPECT_EQ(captured[i].peer.rfind("127.0.0.1:", 0), 0u) << captured[i].peer;
  }
}

// A query (job control only) is kept apart from the jobs, and a connection that sends nothing
// leaves no file: neither is a job whose sheet a printer would print.
TEST(CaptureServer, KeepsQueriesApartAndSavesNoEmptyJob) {
  TempFolder folder;
  CaptureOptions options = Options(folder);
  options.carriesPage = [](std::string_view bytes) { return bytes != "query"; };
  RunningServer server(options);
  for (const char* bytes : {"query", "", "page"}) {
    SendJob(server.Endpoint(), bytes);
  }
  const std::vector<CapturedJob> jobs = server.WaitForJobs(3);
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(jobs[0].content, Content::kQuery);
  EXPECT_EQ(jobs[0].file.filename().string(), "pjl-000001.prn");
  EXPECT_EQ(ReadFile(jobs[0].file), "query");
  EXPECT_EQ(jobs[1].content, Content::kNothing);
  EXPECT_TRUE(jobs[1].file.empty());
  EXPECT_NE(SummaryLine(jobs[1], options).find("no data: nothing saved"), std::string::npos);
  EXPECT_EQ(jobs[2].content, Content::kJob);
  EXPECT_EQ(jobs[2].file.filename().string(), "job-000003.prn");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            2);
}

TEST(CaptureServer, KeepsConcurrentClientsApart) {
  TempFolder folder;
  RunningServer server(Options(folder));
  // All five connect first, then write in turns, so that the jobs really overlap.
  std::vector<Socket> clients;
  for (int i = 0; i < 5; ++i) {
    clients.push_back(Connect(server.Endpoint(), 5s));
  }
  std::set<std::string> sent;
  for (int part = 0; part < 3; ++part) {
    for (int i = 0; i < 5; ++i) {
      SendAll(clients[i], std::string(1000, static_cast<char>('a' + i)), 5s);
    }
  }
  for (int i = 0; i < 5; ++i) {
    FinishSending(clients[i], 10s);
    sent.insert(std::string(3000, static_cast<char>('a' + i)));
  }
  std::set<std::string> saved;
  for (const CapturedJob& job : server.WaitForJobs(5)) {
    saved.insert(ReadFile(job.file));
  }
  EXPECT_EQ(saved, sent);
}

TEST(CaptureServer, CutsOffAJobAtTheLimitAndGoesOn) {
  TempFolder folder;
  CaptureOptions options = Options(folder);
  options.maxJobBytes = 1000;
  RunningServer server(options);
  std::string big;
  for (int i = 0; i < 5000; ++i) {
    big += static_cast<char>(i % 251);
  }
  const Socket socket = Connect(server.Endpoint(), 5s);
  try {
    SendAll(socket, big, 5s);  // the server may reset the connection before all is sent
  } catch (const PlatformError&) {
  }
  std::vector<CapturedJob> jobs = server.WaitForJobs(1);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].end, JobEnd::kCutOff);
  EXPECT_EQ(jobs[0].bytes, 1000u);
  EXPECT_EQ(ReadFile(jobs[0].file), big.substr(0, 1000));
  EXPECT_NE(SummaryLine(jobs[0], options).find("cut off at the limit of 1000 bytes"),
            std::string::npos);

  SendJob(server.Endpoint(), "next");
  jobs = server.WaitForJobs(2);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(ReadFile(jobs[1].file), "next");
}

TEST(CaptureServer, EndsTheJobOfAnIdleClient) {
  TempFolder folder;
  CaptureOptions options = Options(folder);
  options.idleTimeout = 300ms;
  RunningServer server(options);
  const Socket silent = Connect(server.Endpoint(), 5s);
  SendAll(silent, "started", 5s);
  const std::vector<CapturedJob> jobs = server.WaitForJobs(1);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].end, JobEnd::kIdle);
  EXPECT_EQ(ReadFile(jobs[0].file), "started");
  EXPECT_NE(SummaryLine(jobs[0], options).find("ended after 0.3 s without data"),
            std::string::npos);
}

TEST(CaptureServer, ServesNoMoreThanTheLimitAtOnce) {
  TempFolder folder;
  CaptureOptions options = Options(folder);
  options.maxConnections = 1;
  RunningServer server(options);
  const Socket first = Connect(server.Endpoint(), 5s);
  SendAll(first, "first", 5s);
  Socket second = Connect(server.Endpoint(), 5s);  // waits in the listen queue
  SendAll(second, "second", 5s);
  native::Handle handle = native::ToNative(second.Handle());
  shutdown(handle, native::kShutdownSend);
  EXPECT_EQ(server.WaitForJobs(1, 500ms).size(), 0u);
  FinishSending(first, 10s);
  const std::vector<CapturedJob> jobs = server.WaitForJobs(2);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(ReadFile(jobs[0].file), "first");
  EXPECT_EQ(ReadFile(jobs[1].file), "second");
}

TEST(CaptureServer, SurvivesClientsThatResetOrSendNothing) {
  TempFolder folder;
  RunningServer server(Options(folder));
  {
    Socket rude = Connect(server.Endpoint(), 5s);
    SendAll(rude, "partial", 5s);
    testing::CloseWithReset(rude);
  }
  Connect(server.Endpoint(), 5s).Reset();
  SendJob(server.Endpoint(), "after them");
  // A client that is gone before it was accepted may leave no job at all; the one after them
  // must be served in full.
  const auto last = [](const std::vector<CapturedJob>& jobs) {
    return std::find_if(jobs.begin(), jobs.end(), [](const CapturedJob& job) {
      return !job.file.empty() && ReadFile(job.file) == "after them";
    });
  };
  std::vector<CapturedJob> jobs = server.WaitForJobs(1);
  for (int round = 0; round < 3 && last(jobs) == jobs.end(); ++round) {
    jobs = server.WaitForJobs(jobs.size() + 1);
  }
  ASSERT_NE(last(jobs), jobs.end());
  EXPECT_EQ(last(jobs)->end, JobEnd::kClosed);
}

TEST(CaptureServer, StopEndsOpenJobsAndReturns) {
  TempFolder folder;
  RunningServer server(Options(folder));
  const Socket open = Connect(server.Endpoint(), 5s);
  SendAll(open, "unfinished", 5s);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!std::filesystem::exists(folder.Path() / "job-000001.prn.part") &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  server.Stop();
  const std::vector<CapturedJob> jobs = server.WaitForJobs(1, 0ms);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].end, JobEnd::kStopped);
}

TEST(CaptureServer, RefusesAnAddressThatIsNotNumeric) {
  CaptureOptions options;
  options.bindAddress = "localhost.invalid";
  options.port = 0;
  EXPECT_THROW(CaptureServer{options}, PlatformError);
}

}  // namespace
}  // namespace quorvel::net
