// explain's listing gains, under each line, what the printer makes of it: the barcode with its
// fields, the description lines that say otherwise, and the notes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/expected_pages.h"
#include "sheet/listing_notes.h"

namespace quorvel::sheet {
namespace {

std::vector<std::string> NotesOfLine(const std::string& job, inspect::Dialect dialect,
                                     std::size_t number) {
  inspect::Listing listing = inspect::Explain(job, dialect);
  AddSheetNotes(listing, Interpret(job, dialect));
  return listing.lines.at(number - 1).notes;
}

TEST(ListingNotes, ListTheBarcodeAndWhereTheDescriptionDisagrees) {
  const std::vector<std::string> line16 =
      NotesOfLine(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix, 16);
  const std::vector<std::string> expected{
      "barcode UPC-A 123456789012 (check digit 2 added by the printer), bars 2.00 in high, module "
      "0.0556 in, human-readable line off",
      "approximate: each bar is drawn 3/360 in wider than the head's width, as much as the width "
      "tables make a space wider than a bar: no manual says how far the ink spreads",
      "! the text on line 15 says EAN13, the bytes select UPC-A",
      "! the text on line 15 says 1.00 in high, the bytes ask for 2.00 in",
      "! the text on line 15 names a human-readable line, the bytes turn it off",
  };
  EXPECT_EQ(line16, expected);
  const std::vector<std::string> line48 =
      NotesOfLine(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix, 48);
  ASSERT_EQ(line48.size(), 4u);
  EXPECT_EQ(line48[0],
            "barcode Interleaved 2 of 5 1236 (check digit 6 added by the printer), bars 1.00 in "
            "high, module 0.0250 in, wide bar 0.1083 in, human-readable line off");
  // No manual gives the wide space: the item says so under it.
  EXPECT_EQ(line48[1],
            "approximate: the wide space is in no manual: taken as the wide bar of n7 and n6, "
            "widened as much as the narrow space is wider than the narrow bar");
  EXPECT_EQ(NotesOfLine(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix, 61),
            std::vector<std::string>{"sheet 1 ends here"});
  EXPECT_EQ(NotesOfLine(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix, 7),
            std::vector<std::string>{"note: ESC k 126: no such typeface, the command is ignored"});
}

TEST(ListingNotes, NameTheGlyphRunsOfThePclPage) {
  const std::vector<std::string> line14 =
      NotesOfLine(testing::ExpectedPclJob(), inspect::Dialect::kPcl, 14);
  const std::vector<std::string> expected{
      "glyphs of the 0Y (Code 39) font for 10 characters, one pattern each, no start or stop: no "
      "scanner reads them",
      "approximate: the barcode font's pitch and bar height are the printer's own: drawn one "
      "glyph per 10-cpi cell, 0.9 line high",
      "! the text on line 13 names 10U, a text set, the data line below it prints in the 0Y "
      "barcode font",
  };
  EXPECT_EQ(line14, expected);
  EXPECT_TRUE(NotesOfLine(testing::ExpectedPclJob(), inspect::Dialect::kPcl, 15).empty());
}

// Each guess is said under the item that rests on it: the head's first position under the
// first line, the power-on quality where the sans serif text begins, UPC-E's digits under it.
TEST(ListingNotes, MarkEachItemThatRestsOnAGuess) {
  const std::string job = testing::ExpectedDotMatrixJob();
  const std::string head =
      "approximate: the print head's first position (1/4 in from the left edge, 1/3 in down) is "
      "where a sheet is usually loaded: no manual fixes it";
  const std::string quality =
      "approximate: ESC k changes the typeface in letter quality only, and the job never selects "
      "the quality (ESC x): the printer's power-on quality, a panel setting, is taken as LQ";
  const std::string upcE =
      "approximate: UPC-E: the check digit (of the UPC-A number the 6 digits stand for, carried "
      "by the parity) and where the human-readable digits sit are in no manual";
  EXPECT_EQ(NotesOfLine(job, inspect::Dialect::kDotMatrix, 1), std::vector<std::string>{head});
  const std::vector<std::string> line30 = NotesOfLine(job, inspect::Dialect::kDotMatrix, 30);
  ASSERT_FALSE(line30.empty());
  EXPECT_EQ(line30.back(), quality);
  // Said once where the sans serif text begins, not again under each line of it.
  EXPECT_EQ(NotesOfLine(job, inspect::Dialect::kDotMatrix, 31), std::vector<std::string>{});
  const std::vector<std::string> line32 = NotesOfLine(job, inspect::Dialect::kDotMatrix, 32);
  ASSERT_EQ(line32.size(), 3u);
  EXPECT_EQ(line32[2], upcE);
  // The PCL page rests on no guess of the head's position.
  EXPECT_EQ(NotesOfLine(testing::ExpectedPclJob(), inspect::Dialect::kPcl, 1),
            std::vector<std::string>{});
}

}  // namespace
}  // namespace quorvel::sheet
