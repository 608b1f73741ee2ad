#include "about/home_page.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace quorvel {
namespace {

using testing::FakeBrowser;
using testing::RecordingMessageDisplay;

TEST(OpenHomePage, FallsBackToTheDefaultBrowserAndReportsWhenBothFail) {
  const std::string address = "https://quorvel.example.org/";
  struct Case {
    bool preferredFails;
    bool fallbackFails;
    bool opened;
    std::size_t fallbackCalls;
  };
  const Case cases[] = {{false, false, true, 0}, {true, false, true, 1}, {true, true, false, 1}};
  for (const Case& c : cases) {
    FakeBrowser preferred(c.preferredFails, "no automation object");
    FakeBrowser fallback(c.fallbackFails, "no default browser");
    RecordingMessageDisplay messages;
    EXPECT_EQ(OpenHomePage(address, preferred, &fallback, messages), c.opened);
    EXPECT_EQ(preferred.navigated, std::vector<std::string>{address});
    EXPECT_EQ(fallback.navigated.size(), c.fallbackCalls);
    if (c.opened) {
      EXPECT_TRUE(messages.shown.empty());
    } else {
      // Both reasons, the automation object's first.
      EXPECT_EQ(messages.shown, std::vector<std::string>{"Opening the home page failed.\n"
                                                         "Navigate: no automation object\n"
                                                         "Navigate: no default browser"});
    }
  }
}

}  // namespace
}  // namespace quorvel
