#include "platform/net/direct_send.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "common/platform_error.h"
#include "fakes/expected_pages.h"
#include "fakes/fakes.h"
#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"
#include "platform/net/loopback.h"

namespace quorvel::net {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::RecordingMessageDisplay;

// Short bounds so that the failures below are reached quickly; the product's are 5 s and 15 s.
constexpr SendLimits kQuick{5s, 1s, 4096};

// A server that accepts one connection and then does what `withClient` says, on its own thread.
class OneShotServer {
 public:
  template <typename Behaviour>
  OneShotServer(int receiveBuffer, Behaviour withClient)
      : listener_(Listen("127.0.0.1", 0, receiveBuffer)), thread_([this, withClient] {
          Socket client = testing::AcceptWithin(listener_, 10s);
          if (client.Valid()) {
            withClient(client, done_);
          }
        }) {}
  ~OneShotServer() {
    done_ = true;
    thread_.join();
  }
  Endpoint Target() const { return {"127.0.0.1", LocalPort(listener_)}; }

 private:
  NetworkLibrary library_;
  Socket listener_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

TEST(DirectSend, DeliversBothJobsToTheVirtualPrinter) {
  testing::TempFolder folder;
  CaptureOptions options;
  options.port = 0;
  options.directory = folder.Path();
  testing::RunningServer server(options);
  const struct {
    PageComposer composer;
    std::string job;
  } cases[] = {{&ComposeDotMatrixPage, testing::ExpectedDotMatrixJob()},
               {&ComposePclPage, testing::ExpectedPclJob()}};
  for (std::size_t i = 0; i < 2; ++i) {
    RecordingMessageDisplay messages;
    EXPECT_EQ(SendTestPageTo(server.Endpoint(), cases[i].composer, messages),
              PrintOutcome::kExecuted);
    EXPECT_EQ(messages.shown, std::vector<std::string>{std::string(kExecuted)});
    const std::vector<CapturedJob> jobs = server.WaitForJobs(i + 1);
    ASSERT_EQ(jobs.size(), i + 1);
    EXPECT_EQ(testing::ReadFile(jobs[i].file), cases[i].job);
  }
}

TEST(DirectSend, FailsWithTheSystemsReasonWhenNothingListens) {
  std::uint16_t freePort = 0;
  {
    NetworkLibrary library;
    freePort = LocalPort(Listen("127.0.0.1", 0));
  }
  RecordingMessageDisplay messages;
  EXPECT_EQ(SendTestPageTo({"127.0.0.1", freePort}, &ComposePclPage, messages, kQuick),
            PrintOutcome::kSendFailed);
  ASSERT_EQ(messages.shown.size(), 1u);
  const std::string expectedStart =
      std::string(kSendFailed) + "\nconnect to 127.0.0.1:" + std::to_string(freePort) + ": ";
  EXPECT_EQ(messages.shown[0].substr(0, expectedStart.size()), expectedStart);
  EXPECT_GT(messages.shown[0].size(), expectedStart.size());
}

TEST(DirectSend, FailsWithinItsBoundWhenThePrinterNeverReads) {
  OneShotServer server(4096, [](const Socket&, const std::atomic<bool>& done) {
    while (!done) {
      std::this_thread::sleep_for(10ms);
    }
  });
  TcpSpooler spooler(kQuick);
  ASSERT_TRUE(spooler.Open(server.Target().Text()));
  const Clock::time_point start = Clock::now();
  try {
    spooler.Write(std::string(16 << 20, 'x'));
    FAIL() << "16 MiB went into a connection nobody reads";
  } catch (const PlatformError& e) {
    EXPECT_EQ(e.Operation(), "send");
    EXPECT_EQ(e.Reason(), "the printer took no data for 1 s");
  }
  EXPECT_LT(Clock::now() - start, 30s);
}

TEST(DirectSend, FailsWhenThePrinterKeepsTheConnectionOpenAfterTheJob) {
  OneShotServer server(4096, [](const Socket&, const std::atomic<bool>& done) {
    while (!done) {
      std::this_thread::sleep_for(10ms);
    }
  });
  RecordingMessageDisplay messages;
  EXPECT_EQ(SendTestPageTo(server.Target(), &ComposeDotMatrixPage, messages, kQuick),
            PrintOutcome::kSendFailed);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("did not end the connection within 1 s"), std::string::npos)
      << messages.shown[0];
}

// The printer takes 100 bytes and then aborts the connection.
void AbortAfter100Bytes(Socket& client, const std::atomic<bool>&) {
  testing::ReadBytes(client, 100, 10s);
  testing::CloseWithReset(client);
}

TEST(DirectSend, FailsWhenThePrinterClosesMidJob) {
  OneShotServer server(4096, &AbortAfter100Bytes);
  TcpSpooler spooler(kQuick);
  ASSERT_TRUE(spooler.Open(server.Target().Text()));
  EXPECT_THROW(
      {
        spooler.Write(std::string(8 << 20, 'x'));
        spooler.EndDocument();
      },
      PlatformError);
}

#ifndef _WIN32
// A job small enough to sit whole in the socket buffers: the reset shows when the job ends.
// (Wine reports a reset that arrives after the last byte as an orderly end, so this case runs
// natively only.)
TEST(DirectSend, FailsWhenThePrinterClosesMidJobAfterTheLastWrite) {
  OneShotServer server(0, &AbortAfter100Bytes);
  RecordingMessageDisplay messages;
  EXPECT_EQ(SendTestPageTo(server.Target(), &ComposeDotMatrixPage, messages, kQuick),
            PrintOutcome::kSendFailed);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind(std::string(kSendFailed) + "\n", 0), 0u) << messages.shown[0];
}
#endif

TEST(TcpSpooler, RefusesNamesThatAreNotHostAndPort) {
  TcpSpooler spooler(kQuick);
  for (const char* name : {"", "host:0", "host:70000", "[::1", "two words"}) {
    EXPECT_FALSE(spooler.Open(name)) << name;
  }
  EXPECT_THROW(spooler.Write("x"), PlatformError);
}

}  // namespace
}  // namespace quorvel::net
