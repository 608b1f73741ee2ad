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
      "! the text on line 15 says EAN13, the bytes select UPC-A",
      "! the text on line 15 says 1.00 in high, the bytes ask for 2.00 in",
      "! the text on line 15 names a human-readable line, the bytes turn it off",
  };
  EXPECT_EQ(line16, expected);
  const std::vector<std::string> line48 =
      NotesOfLine(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix, 48);
  ASSERT_EQ(line48.size(), 2u);
  EXPECT_EQ(line48[0],
            "barcode Interleaved 2 of 5 1236 (check digit 6 added by the printer), bars 1.00 in "
            "high, module 0.0250 in, wide bar 0.1083 in, human-readable line off");
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
      "! the text on line 13 names 10U, a text set, the data line below it prints in the 0Y "
      "barcode font",
  };
  EXPECT_EQ(line14, expected);
  EXPECT_TRUE(NotesOfLine(testing::ExpectedPclJob(), inspect::Dialect::kPcl, 15).empty());
}

}  // namespace
}  // namespace quorvel::sheet
