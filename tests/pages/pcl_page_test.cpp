#include "pages/pcl_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/expected_pages.h"
#include "fakes/hex.h"

namespace quorvel {
namespace {

using testing::ExpectedPclLines;
using testing::PclLine;
using testing::SplitCrLf;

TEST(PclPage, MatchesTheExpectedLinesAtTheirOffsets) {
  const std::vector<PclLine> expected = ExpectedPclLines();
  const PageText page = ComposePclPage();
  ASSERT_EQ(expected.size(), 33u);
  const std::vector<std::string> actual = SplitCrLf(page);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i], expected[i].bytes) << "line " << i + 1;
    EXPECT_EQ(page.substr(expected[i].offset, expected[i].bytes.size() + 2),
              expected[i].bytes + "\r\n")
        << "line " << i + 1 << " at offset " << expected[i].offset;
  }
}

TEST(PclPage, IsFourHundredFortyBytesEndingWithCrLf) {
  const PageText page = ComposePclPage();
  EXPECT_EQ(page.size(), 440u);
  EXPECT_EQ(page.substr(438), "\r\n");
  std::string joined;
  for (const PclLine& line : ExpectedPclLines()) {
    joined += line.bytes + "\r\n";
  }
  EXPECT_EQ(page, joined);
}

TEST(PclPage, ControlCharactersAndDesignations) {
  const PageText page = ComposePclPage();
  auto count = [&](char c) { return std::count(page.begin(), page.end(), c); };
  EXPECT_EQ(count('\x0E'), 4);
  EXPECT_EQ(count('\x0F'), 5);
  EXPECT_EQ(count('\x1B'), 4);
  EXPECT_EQ(count('\r'), 33);
  EXPECT_EQ(count('\n'), 33);
  EXPECT_EQ(count('\0'), 0);
  EXPECT_TRUE(std::all_of(page.begin(), page.end(), [](char c) { return c >= 10 && c <= 127; }));
  // One primary designation (ESC "(" 10U, line 14); three secondary ones.
  EXPECT_EQ(page.find("\x1B("), 174u);
  EXPECT_EQ(page.find("\x1B(", 175), std::string::npos);
  std::vector<std::size_t> secondary;
  for (std::size_t at = page.find("\x1B)"); at != std::string::npos;
       at = page.find("\x1B)", at + 1)) {
    secondary.push_back(at);
  }
  EXPECT_EQ(secondary, (std::vector<std::size_t>{79, 238, 358}));
  // No lone CR or LF.
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\r') {
      EXPECT_EQ(page[i + 1], '\n') << "at " << i;
    }
    if (page[i] == '\n') {
      EXPECT_EQ(page[i - 1], '\r') << "at " << i;
    }
  }
}

}  // namespace
}  // namespace quorvel
