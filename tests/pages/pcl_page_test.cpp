#include "pages/pcl_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/hex.h"

namespace quorvel {
namespace {

using testing::Hex;
using testing::SplitCrLf;

struct PclLine {
  std::size_t offset;  // where the line starts in the page
  std::string bytes;   // without its CR LF
};

// The 33 lines with their offsets. SI 0F, SO 0E, ESC 1B.
std::vector<PclLine> ExpectedLines() {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const std::string digits = "1234567890";
  const std::string both = digits + alphabet;
  std::vector<PclLine> lines{
      {0, "Quorvelprint"},
      {14, "(Just for test, not scannable!)"},
      {47, ""},
      {49, ""},
      {51, ""},
      {53, Hex("0F") + "Barcode 3 of 9: ESC(0Y"},
      {78, Hex("0E 1B 29 30 59") + alphabet},
      {111, Hex("0F") + alphabet},
      {140, ""},
      {142, ""},
      {144, ""},
      {146, ""},
      {148, "Barcode 2 of 5: ESC(10U"},
      {173, Hex("0E 1B 28 31 30 55") + digits},
      {191, Hex("0F") + digits},
      {204, ""},
      {206, ""},
      {208, ""},
      {210, ""},
      {212, "Barcode EAN/UPC: ESC(8Y"},
      {237, Hex("0E 1B 29 38 59") + both},
      {280, Hex("0F") + both},
      {319, ""},
      {321, ""},
      {323, ""},
      {325, ""},
      {327, "Barcode ZIP: ESC(15Y"},
      {349, ""},
      {351, ""},
      {353, ""},
      {355, ""},
      {357, Hex("0E 1B 29 31 35 59") + both},
      {401, Hex("0F") + both},
  };
  return lines;
}

TEST(PclPage, MatchesTheExpectedLinesAtTheirOffsets) {
  const std::vector<PclLine> expected = ExpectedLines();
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
  for (const PclLine& line : ExpectedLines()) {
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
