#include "inspect/listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/expected_pages.h"
#include "fakes/hex.h"
#include "inspect/expected_listings.h"

namespace quorvel::inspect {
namespace {

using testing::Hex;

// Compares line by line, so that a failure names the first line that differs.
void ExpectSameLines(const std::string& actual, const std::string& expected) {
  std::vector<std::string> a;
  std::vector<std::string> e;
  for (auto [text, lines] : {std::pair{&actual, &a}, std::pair{&expected, &e}}) {
    std::size_t start = 0;
    for (std::size_t end; (end = text->find('\n', start)) != std::string::npos; start = end + 1) {
      lines->push_back(text->substr(start, end - start));
    }
  }
  for (std::size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
    ASSERT_EQ(i < a.size() ? a[i] : "(none)", i < e.size() ? e[i] : "(none)") << "row " << i + 1;
  }
  EXPECT_EQ(actual, expected);
}

TEST(Listing, DotMatrixJobMatchesTheWrittenOutListing) {
  const Listing listing = Explain(testing::ExpectedDotMatrixJob(), Dialect::kDotMatrix);
  ExpectSameLines(FormatText(listing), testing::kDotMatrixListing);
}

TEST(Listing, PclJobMatchesTheWrittenOutListing) {
  const Listing listing = Explain(testing::ExpectedPclJob(), Dialect::kPcl);
  ExpectSameLines(FormatText(listing), testing::kPclListing);
}

TEST(Listing, GuessesTheDialectOfBothPagesAndOfPlainText) {
  EXPECT_EQ(GuessDialect(testing::ExpectedDotMatrixJob()), Dialect::kDotMatrix);
  EXPECT_EQ(GuessDialect(testing::ExpectedPclJob()), Dialect::kPcl);
  EXPECT_EQ(GuessDialect("plain text\r\n"), Dialect::kDotMatrix);
  EXPECT_EQ(GuessDialect(Hex("0E 41 0F 42")), Dialect::kPcl);
  EXPECT_EQ(GuessDialect(Hex("1B 45 1B 26 6C 30 4F")), Dialect::kPcl);
}

TEST(Listing, FontStateFollowsShiftsDesignationsAndReset) {
  struct Case {
    std::string job;
    FontState after;
  };
  const std::vector<Case> cases{
      {Hex("41"), {"held", "held", "held"}},
      {Hex("0E 1B 29 38 59"), {"secondary", "held", "8Y"}},
      {Hex("1B 28 31 30 55 0F"), {"primary", "10U", "held"}},
      {Hex("0E 1B 29 38 59 1B 45"), {"primary", "default", "default"}},
      {Hex("1B 45 1B 28 30 4E 0E"), {"secondary", "0N", "default"}},
  };
  for (const Case& c : cases) {
    const Listing listing = Explain(c.job, Dialect::kPcl);
    ASSERT_EQ(listing.lines.size(), 1u);
    EXPECT_EQ(listing.lines[0].font, c.after) << FormatText(listing);
  }
}

TEST(Listing, SummaryCountsWarningsUnknownEscapesAndTheLastByte) {
  const Listing listing = Explain(Hex("1B 51 00 1B 10 42 05 31 0D 0A"), Dialect::kDotMatrix);
  EXPECT_EQ(listing.summary.bytes, 10u);
  EXPECT_EQ(listing.summary.lines, 1u);
  EXPECT_EQ(listing.summary.unknownEscapes, 1u);
  EXPECT_EQ(listing.summary.warnings, 1u);
  EXPECT_EQ(listing.summary.nulBytes, 1u);
  EXPECT_FALSE(listing.summary.endsWithFormFeed);
  EXPECT_EQ(Explain("", Dialect::kPcl).summary.lines, 0u);
}

TEST(Listing, SpelledSequenceWithoutAFollowingCommandSaysSo) {
  const Listing listing =
      Explain("ESC-Sequence: ESC SYN A:\r\nno command here\r\n", Dialect::kDotMatrix);
  const std::string text = FormatText(listing);
  EXPECT_NE(text.find("              named  ESC SYN A\n"
                      "              sent   nothing: no command follows\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(listing.summary.sequences, 1u);
  EXPECT_EQ(listing.summary.sequenceDifferences, 0u);
}

}  // namespace
}  // namespace quorvel::inspect
