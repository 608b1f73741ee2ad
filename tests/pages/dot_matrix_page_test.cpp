#include "pages/dot_matrix_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/expected_pages.h"
#include "fakes/hex.h"

namespace quorvel {
namespace {

using testing::ExpectedDotMatrixLines;
using testing::SplitCrLf;

std::size_t CountOf(const std::string& text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

TEST(DotMatrixPage, MatchesTheExpectedLinesOneByOne) {
  const std::vector<std::string> expected = ExpectedDotMatrixLines();
  const std::vector<std::string> actual = SplitCrLf(ComposeDotMatrixPage());
  ASSERT_EQ(expected.size(), 60u);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  }
}

TEST(DotMatrixPage, IsTheExpectedLinesJoinedAndEndsWithCrLf) {
  std::string expected;
  for (const std::string& line : ExpectedDotMatrixLines()) {
    expected += line + "\r\n";
  }
  const PageText page = ComposeDotMatrixPage();
  EXPECT_EQ(page.size(), 1153u);
  EXPECT_EQ(page, expected);
  EXPECT_EQ(page.substr(page.size() - 2), "\r\n");
  EXPECT_EQ(page.find('\x0C', page.size() - 3), std::string::npos) << "no form feed of its own";
  EXPECT_EQ(ComposeDotMatrixPage(), page) << "every call builds the same bytes";
}

TEST(DotMatrixPage, KeepsItsElevenNulBytesAmongTheParameters) {
  const PageText page = ComposeDotMatrixPage();
  std::vector<std::size_t> nulOffsets;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\0') {
      nulOffsets.push_back(i);
    }
  }
  ASSERT_EQ(nulOffsets.size(), 11u);
  // The first NUL is P2 of block 1: the fifth byte of line 6.
  const std::size_t line6 = page.find(
      "\x1B\x10"
      "A");
  EXPECT_EQ(nulOffsets.front(), line6 + 4);
  // Every NUL lies between an ESC DLE "A" and the following ESC DLE "B".
  for (std::size_t offset : nulOffsets) {
    const std::size_t parameters = page.rfind(
        "\x1B\x10"
        "A",
        offset);
    ASSERT_NE(parameters, std::string::npos);
    EXPECT_LT(offset, parameters + 12) << "NUL at " << offset << " outside P1..P9";
  }
}

TEST(DotMatrixPage, CommandsAreWellFormed) {
  const PageText page = ComposeDotMatrixPage();
  EXPECT_EQ(CountOf(page, "\r\n"), 60u);
  EXPECT_EQ(CountOf(page,
                    "\x1B\x10"
                    "A"),
            6u);
  EXPECT_EQ(CountOf(page,
                    "\x1B\x10"
                    "B"),
            6u);
  EXPECT_EQ(CountOf(page, "\x1B"), 18u);
  EXPECT_EQ(std::count(page.begin(), page.end(), '\x16'), 0) << "no SYN is ever sent";
  EXPECT_TRUE(std::all_of(page.begin(), page.end(), [](char c) { return c >= 0 && c <= 126; }));

  // ESC k n after each barcode: 126 everywhere but after EAN-13, which carries 1.
  std::vector<int> escK;
  for (std::size_t at = page.find("\x1Bk"); at != std::string::npos;
       at = page.find("\x1Bk", at + 1)) {
    escK.push_back(static_cast<unsigned char>(page[at + 2]));
  }
  EXPECT_EQ(escK, (std::vector<int>{126, 1, 126, 126, 126, 126}));

  // Each data command's length byte equals the data up to its CR LF.
  std::vector<int> lengths;
  for (std::size_t at = page.find("\x1B\x10"
                                  "B");
       at != std::string::npos; at = page.find("\x1B\x10"
                                               "B",
                                               at + 1)) {
    const int length = static_cast<unsigned char>(page[at + 3]);
    const std::size_t end = page.find("\r\n", at);
    EXPECT_EQ(static_cast<std::size_t>(length), end - (at + 4)) << "data command at " << at;
    lengths.push_back(length);
  }
  EXPECT_EQ(lengths, (std::vector<int>{8, 12, 6, 18, 4, 12}));
}

}  // namespace
}  // namespace quorvel
