#include "platform/cups/cups_printer_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/platform_error.h"
#include "platform/cups/cups_test_support.h"

namespace quorvel::testing {
namespace {

using platform::cups::CupsPrinterList;
using Clock = std::chrono::steady_clock;

class CupsPrinterListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const TestSpooler& spooler = UseTestSpooler();
    const std::string device = "socket://127.0.0.1:" + std::to_string(UnusedPort());
    AddQueue("Second", device);
    AddQueue("alpha", device);
    (void)spooler;
  }
  void TearDown() override { std::filesystem::remove(LpoptionsPath()); }

  static std::string LpoptionsPath() {
    return std::string(std::getenv("HOME")) + "/.cups/lpoptions";
  }

  static std::ptrdiff_t IndexOf(const std::vector<std::string>& names, const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : it - names.begin();
  }

  CupsPrinterList list_;
};

TEST_F(CupsPrinterListTest, ListsEveryQueueByNameInTheSameOrderEachTime) {
  const std::vector<std::string> first = list_.DeviceNames();
  const std::vector<std::string> second = list_.DeviceNames();
  EXPECT_EQ(first, second);
  ASSERT_GE(IndexOf(first, "alpha"), 0);
  EXPECT_LT(IndexOf(first, "alpha"), IndexOf(first, "Second"));
  EXPECT_LT(IndexOf(first, "Second"), IndexOf(first, "Virtual"));
}

TEST_F(CupsPrinterListTest, ListsInstancesAsNameSlashInstance) {
  WriteFile(LpoptionsPath(), "Dest Virtual/twice copies=2\n");
  const std::vector<std::string> names = list_.DeviceNames();
  const std::ptrdiff_t plain = IndexOf(names, "Virtual");
  ASSERT_GE(plain, 0);
  EXPECT_EQ(IndexOf(names, "Virtual/twice"), plain + 1);
}

struct DefaultCase {
  const char* what;
  std::optional<std::string> lpdest;
  std::optional<std::string> printer;
  std::string lpoptions;
  std::optional<std::string> expected;
};

TEST_F(CupsPrinterListTest, DefaultFollowsLpdestThenPrinterThenLpoptions) {
  const DefaultCase cases[] = {
      {"nothing set, no server default", {}, {}, "", {}},
      {"LPDEST", "Second", {}, "", "Second"},
      {"PRINTER", {}, "Second", "", "Second"},
      {"LPDEST before PRINTER", "Virtual", "Second", "", "Virtual"},
      {"lpoptions", {}, {}, "Default alpha\n", "alpha"},
      {"LPDEST before lpoptions", "Second", {}, "Default alpha\n", "Second"},
      {"PRINTER before lpoptions", {}, "Virtual", "Default alpha\n", "Virtual"},
      {"lpoptions instance",
       {},
       {},
       "Dest Virtual/twice copies=2\nDefault Virtual/twice\n",
       "Virtual/twice"},
      {"LPDEST naming no queue", "Nowhere", {}, "", {}},
  };
  for (const DefaultCase& c : cases) {
    const ScopedEnv lpdest("LPDEST", c.lpdest);
    const ScopedEnv printer("PRINTER", c.printer);
    std::filesystem::remove(LpoptionsPath());
    if (!c.lpoptions.empty()) {
      WriteFile(LpoptionsPath(), c.lpoptions);
    }
    EXPECT_EQ(list_.DefaultDeviceName(), c.expected) << c.what;
  }
}

TEST_F(CupsPrinterListTest, DefaultFallsBackToTheServerDefault) {
  const std::string server = UseTestSpooler().server;
  AddQueue("Fallback", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  RunChecked("lpadmin -h " + server + " -d Fallback");
  const std::optional<std::string> withServerDefault = list_.DefaultDeviceName();
  RunChecked("lpadmin -h " + server + " -x Fallback");
  EXPECT_EQ(withServerDefault, "Fallback");
  EXPECT_EQ(list_.DefaultDeviceName(), std::nullopt);
}

TEST_F(CupsPrinterListTest, NoServerFailsAtOnceWithTheReason) {
  const ScopedServer server("127.0.0.1:" + std::to_string(UnusedPort()));
  const Clock::time_point start = Clock::now();
  EXPECT_THROW(list_.DeviceNames(), PlatformError);
  EXPECT_THROW(list_.DefaultDeviceName(), PlatformError);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}

TEST_F(CupsPrinterListTest, ServerThatNeverAnswersFailsWithinFifteenSecondsPerCall) {
  const SilentServer silent;
  const ScopedServer server("127.0.0.1:" + std::to_string(silent.Port()));
  for (int call = 0; call < 2; ++call) {
    const Clock::time_point start = Clock::now();
    try {
      if (call == 0) {
        list_.DeviceNames();
      } else {
        list_.DefaultDeviceName();
      }
      ADD_FAILURE() << "call " << call << " did not fail";
    } catch (const PlatformError& e) {
      EXPECT_NE(std::string(e.what()).find("did not answer"), std::string::npos) << e.what();
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15)) << "call " << call;
  }
}

}  // namespace
}  // namespace quorvel::testing
