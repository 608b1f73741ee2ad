// Where the head stands after a symbol, what ESC k does in draft and in letter quality, and the
// items that rest on a guess. Widths are written out by hand from the 24-pin width tables
// (1/360 inch) of the printer manuals cited in docs/sheet.md.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/expected_pages.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {
namespace {

Sheet DotMatrix(const std::string& job) {
  return Interpret(job, inspect::Dialect::kDotMatrix);
}

// ESC DLE A with 8 parameters, then ESC DLE B with `data`.
std::string Symbol(const std::string& parameters, const std::string& data) {
  return "\x1B\x10"
         "A\x08" +
         parameters + "\x1B\x10" + "B" + std::string(1, static_cast<char>(data.size())) + data;
}

// EAN-8 1234567@, 0.5 inch, n5 = 1, text on: 67 modules of 40/360/7 inch = 1.06 in.
const std::string kEan8 = Symbol(std::string("\x00\x01\x00\x06\x01\x01\x01\x01", 8), "1234567@");

struct WidthCase {
  std::size_t block;  // 0-based, in the page's order
  double inches;      // first bar to last
};

TEST(SymbolWidths, FollowTheWidthTablesForEveryBlockOfThePage) {
  const std::vector<WidthCase> cases{
      {0, 67 * 40 / 2520.0},   // EAN-8: 67 modules, character 40/360 (n5 = 1)
      {1, 95 * 140 / 2520.0},  // UPC-A: 95 modules, character 140/360 (n5 = 7)
      {2, 51 * 49 / 2520.0},   // UPC-E: 51 modules, character 49/360 (n5 = 2)
      // Code 39 *PLJ BARCODE DRUCKA*: 20 characters of 3 narrow bars (4), 2 wide bars (14),
      // 3 narrow spaces (10) and a wide space (20), 19 narrow spaces between them.
      {3, (20 * (3 * 4 + 2 * 14 + 3 * 10 + 20) + 19 * 10) / 360.0},
      // 2 of 5 1236: start 2 x (9 + 15), 2 pairs of 3 x 9 + 2 x 39 + 3 x 15 + 2 x 45, stop
      // 39 + 15 + 9.
      {4, (2 * (9 + 15) + 2 * (3 * 9 + 2 * 39 + 3 * 15 + 2 * 45) + 39 + 15 + 9) / 360.0},
      // Code 128 set A: start, 10 characters and the check, 12 of 64/360, the stop 71/360.
      {5, (12 * 64 + 71) / 360.0},
  };
  const Sheet sheet = DotMatrix(testing::ExpectedDotMatrixJob());
  ASSERT_EQ(sheet.barcodes.size(), cases.size());
  for (const WidthCase& want : cases) {
    SCOPED_TRACE(want.block);
    EXPECT_NEAR(sheet.barcodes[want.block].widthInches, want.inches, 1e-9);
  }
  // Block 6 within 3 % of 145 modules of 64/360/11 inch (2.34 in).
  EXPECT_NEAR(sheet.barcodes[5].widthInches, 145 * 64 / 3960.0, 145 * 64 / 3960.0 * 0.03);
}

struct HeadCase {
  const char* name;
  std::string job;
  Position text;  // where "X" after the symbol prints
  bool between;   // the symbol ends between two cells: the text is drawn from the next one
};

TEST(HeadAfterASymbol, StandsAtTheSymbolsEndNotAtTheLineStart) {
  const std::vector<HeadCase> cases{
      // 1.06 in from column 0: the head stands inside cell 10, "X" is drawn in cell 11.
      {"EAN-8 at column 0", kEan8 + "X", {0, 0, 11}, true},
      // From column 5 (0.5 in): it ends at 1.56 in, in cell 15; "X" in cell 16.
      {"EAN-8 at column 5", "     " + kEan8 + "X", {0, 0, 16}, true},
      // CR takes the head back to the line start.
      {"CR after the symbol", kEan8 + "\rX", {0, 0, 0}, false},
      // LF returns the carriage too and moves down a line.
      {"LF after the symbol", kEan8 + "\nX", {0, 1, 0}, false},
  };
  for (const HeadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Sheet sheet = DotMatrix(c.job);
    ASSERT_EQ(sheet.barcodes.size(), 1u);
    ASSERT_FALSE(sheet.texts.empty());
    const TextRun& x = sheet.texts.back();
    EXPECT_EQ(x.text, "X");
    EXPECT_EQ(x.at, c.text);
    const bool marked = std::find(x.approximate.begin(), x.approximate.end(),
                                  std::string("printed from where the head stopped at the "
                                              "symbol's end: drawn from the next whole character "
                                              "cell")) != x.approximate.end();
    EXPECT_EQ(marked, c.between);
  }
}

TEST(HeadAfterASymbol, ASymbolPastTheRightMarginIsNotPrinted) {
  // Column 75 is 7.5 in: 1.06 in more passes the 8-inch line.
  const Sheet sheet = DotMatrix(std::string(75, ' ') + kEan8);
  EXPECT_TRUE(sheet.barcodes.empty());
  ASSERT_EQ(sheet.notes.size(), 1u);
  EXPECT_EQ(sheet.notes[0].text,
            "EAN-8 would reach past the right margin: the printer does not print it");
}

struct QualityCase {
  const char* name;
  std::string job;
  Typeface face;
  bool guessed;  // rests on the power-on quality
};

TEST(EscK, ChangesTheTypefaceInLetterQualityOnly) {
  const std::vector<QualityCase> cases{
      {"power-on quality, taken as LQ", "\x1Bk\x01Y", Typeface::kSansSerif, true},
      {"ESC x 1: LQ", "\x1Bx\x01\x1Bk\x01Y", Typeface::kSansSerif, false},
      {"ESC x '1': LQ", "\x1Bx1\x1Bk\x01Y", Typeface::kSansSerif, false},
      {"ESC x 0: draft", std::string("\x1Bx\x00\x1Bk\x01Y", 7), Typeface::kFixed, false},
      {"ESC x '0': draft", "\x1Bx0\x1Bk\x01Y", Typeface::kFixed, false},
      // The face chosen in draft is kept and prints once LQ is selected.
      {"chosen in draft, LQ after", "\x1Bx0\x1Bk\x01\x1Bx1Y", Typeface::kSansSerif, false},
      // ESC @ returns to the power-on quality and face.
      {"ESC @", "\x1Bx0\x1Bk\x01\x1B@Y", Typeface::kFixed, false},
      // OKI's own faces (ML390/391 handbook p. 104): 122 Swiss Bold and 124 Gothic, both sans
      // serif; 123 is no face, so the command is ignored.
      {"ESC k 122: Swiss Bold", "\x1Bk\x7AY", Typeface::kSansSerif, true},
      {"ESC k 124: Gothic", "\x1Bk\x7CY", Typeface::kSansSerif, true},
      {"ESC k 123: none", "\x1Bk\x01\x1Bk\x7BY", Typeface::kSansSerif, true},
  };
  for (const QualityCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Sheet sheet = DotMatrix(c.job);
    ASSERT_EQ(sheet.texts.size(), 1u);
    EXPECT_EQ(sheet.texts[0].typeface, c.face);
    EXPECT_EQ(sheet.texts[0].approximate.size(), c.guessed ? 1u : 0u);
  }
  const Sheet draft = DotMatrix("\x1Bx0\x1Bk\x01Y");
  ASSERT_EQ(draft.notes.size(), 1u);
  EXPECT_EQ(draft.notes[0].text, "ESC k 1: kept for letter quality; draft prints in its own face");
}

TEST(Guesses, APowerOnValueTheJobNeverSetIsMarked) {
  // Two parameters: EAN-8 chosen, length, width and text left at their power-on values.
  const Sheet sheet = DotMatrix(
      "\x1B\x10"
      "A\x02" +
      std::string("\x00\x01", 2) + "\x1B\x10" + "B\x08" + "1234567@");
  ASSERT_EQ(sheet.barcodes.size(), 1u);
  const std::vector<std::string> want{
      "the bar length: the job never sets it, and no manual gives the printer's power-on value: "
      "taken as 0.5 in",
      "the width n5: the job never sets it, and no manual gives the printer's power-on value: "
      "taken as 1 (the narrowest)",
      "the human-readable line: the job never sets it, and no manual gives the printer's power-on "
      "value: taken as on",
      "each bar is drawn 3/360 in wider than the head's width, as much as the width tables make a "
      "space wider than a bar: no manual says how far the ink spreads",
      "n5 = 1: the widths are the MICROLINE 3390's (EAN/UPC character 40/360 in, Code 128 "
      "64/360, narrow bar 3/360); the ML390/591 reference gives 35/360, 55/360 and 2/360",
  };
  EXPECT_EQ(sheet.barcodes[0].approximate, want);
  // All eight parameters set: the ink and the narrowest width's reading remain.
  EXPECT_EQ(DotMatrix(kEan8).barcodes.at(0).approximate,
            (std::vector<std::string>{want[3], want[4]}));
  // n5 = 2, on which the manuals agree: the ink only.
  const std::string n5Two = Symbol(std::string("\x00\x01\x00\x06\x02\x01\x01\x01", 8), "1234567@");
  EXPECT_EQ(DotMatrix(n5Two).barcodes.at(0).approximate, std::vector<std::string>{want[3]});
}

TEST(Guesses, TheSheetListsEachReasonOnceInTheOrderOfItsItems) {
  const std::vector<std::string> dotMatrix =
      Approximations(DotMatrix(testing::ExpectedDotMatrixJob()));
  ASSERT_EQ(dotMatrix.size(), 6u);
  EXPECT_EQ(dotMatrix[0].substr(0, 35), "the print head's first position (1/");
  EXPECT_EQ(dotMatrix[1].substr(0, 27), "ESC k changes the typeface ");
  EXPECT_EQ(dotMatrix[2].substr(0, 21), "each bar is drawn 3/3");
  EXPECT_EQ(dotMatrix[3].substr(0, 8), "n5 = 1: ");  // blocks 1 and 6
  EXPECT_EQ(dotMatrix[4].substr(0, 7), "UPC-E: ");
  EXPECT_EQ(dotMatrix[5].substr(0, 18), "the wide space is ");
  const std::vector<std::string> pcl =
      Approximations(Interpret(testing::ExpectedPclJob(), inspect::Dialect::kPcl));
  const std::vector<std::string> wantPcl{
      "the barcode font's pitch and bar height are the printer's own: drawn one glyph per 10-cpi "
      "cell, 0.9 line high",
      "what the font holds for a code it does not define is in no reference: printed as a space",
  };
  EXPECT_EQ(pcl, wantPcl);
}

}  // namespace
}  // namespace quorvel::sheet
