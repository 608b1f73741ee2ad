// The verdicts are functions of the expected block and what the scan's reading found: tables of
// both, with the verdict a reader of the printer's manual gives, written out by hand.

#include <gtest/gtest.h>

#include "verify/glyph_profile.h"
#include "verify/verdicts.h"
#include "verify/verify_report.h"

namespace quorvel::verify {
namespace {

using sheet::Symbology;

ExpectedBlock Ean8Block() {
  ExpectedBlock block;
  block.number = 1;
  block.symbology = Symbology::kEan8;
  block.data = "12345670";
  block.box = {0.36, 1.33, 1.06, 0.5};
  block.heightInches = 0.5;
  block.moduleInches = 0.0159;
  return block;
}

FoundSymbol Found(bool known, Symbology symbology, const char* data, const char* type = "") {
  FoundSymbol found;
  found.known = known;
  found.symbology = symbology;
  found.data = data;
  found.typeName = type;
  found.reads = 100;
  return found;
}

TEST(JudgeBarcode, GivesTheVerdictOfWhatTheRegionHolds) {
  struct Case {
    const char* what;
    bool symbolRead;
    FoundSymbol found;
    double ink;
    Verdict verdict;
  };
  const Case cases[] = {
      {"the same symbol", true, Found(true, Symbology::kEan8, "12345670"), 0.3,
       Verdict::kAsExpected},
      {"another check digit", true, Found(true, Symbology::kEan8, "12345679"), 0.3,
       Verdict::kOtherData},
      {"other digits", true, Found(true, Symbology::kEan8, "76543210"), 0.3, Verdict::kOtherData},
      {"EAN-13 where EAN-8 belongs", true, Found(true, Symbology::kEan13, "0012345670"), 0.3,
       Verdict::kOtherSymbology},
      {"a symbology no sheet holds", true, Found(false, Symbology::kEan8, "12345670", "DataBar"),
       0.3, Verdict::kOtherSymbology},
      {"ink, no symbol", false, {}, 0.25, Verdict::kUnreadable},
      {"a smudge", false, {}, 0.03, Verdict::kUnreadable},
      {"a few specks", false, {}, 0.01, Verdict::kNotFound},
      {"blank paper", false, {}, 0.0, Verdict::kNotFound},
  };
  const ExpectedBlock block = Ean8Block();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(JudgeBarcode(block, c.symbolRead ? &c.found : nullptr, c.ink), c.verdict);
  }
}

TEST(JudgeGlyphs, TellsTheFontsBarsFromLettersAndBlank) {
  ExpectedBlock block;
  block.number = 1;
  block.glyphs = true;
  block.font = sheet::GlyphFont::kCode39;
  block.data = "AA";
  // Code 39 'A' is wide bar, narrow space, narrow bar, narrow space, narrow bar, wide space,
  // narrow bar, narrow space, wide bar, then the gap: in units of two columns, dark columns
  // 0-5, 8-9, 12-13, 20-21 and 24-29 of 32.
  std::vector<double> a(32, 0.0);
  for (int c : {0, 1, 2, 3, 4, 5, 8, 9, 12, 13, 20, 21, 24, 25, 26, 27, 28, 29}) {
    a[static_cast<std::size_t>(c)] = 1;
  }
  std::vector<double> glyphs = a;
  glyphs.insert(glyphs.end(), a.begin(), a.end());
  std::vector<double> shifted(glyphs.begin() + 3, glyphs.end());  // 3 columns off
  shifted.insert(shifted.end(), {0, 0, 0});
  // Letters: ink spread over the cells, no bar pattern.
  std::vector<double> letters;
  for (int i = 0; i < 64; ++i) {
    letters.push_back(i % 32 > 4 && i % 32 < 26 ? 0.25 + 0.1 * (i % 3) : 0.0);
  }
  struct Case {
    const char* what;
    double ink;
    std::vector<double> columns;
    Verdict verdict;
  };
  const Case cases[] = {
      {"the glyphs", 0.5, glyphs, Verdict::kGlyphs},
      {"the glyphs a little off", 0.5, shifted, Verdict::kGlyphs},
      {"letters", 0.2, letters, Verdict::kText},
      {"a flat smudge", 0.3, std::vector<double>(64, 0.3), Verdict::kText},
      {"blank", 0.0, std::vector<double>(64, 0.0), Verdict::kBlank},
      {"specks", 0.01, glyphs, Verdict::kBlank},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(JudgeGlyphs(block, {1, c.ink, c.columns}), c.verdict);
  }
}

TEST(ExpectedColumns, DrawEachFontsGlyph) {
  // EAN/UPC '0' (set A 0001101): modules 3, 4 and 6 of 7 dark, 32/7 columns each.
  const std::vector<double> ean = ExpectedColumns(sheet::GlyphFont::kEanUpc, "0");
  ASSERT_EQ(ean.size(), 32u);
  for (int c : {0, 10, 13, 23, 26}) {
    EXPECT_EQ(ean[static_cast<std::size_t>(c)], 0.0) << c;
  }
  for (int c : {14, 17, 18, 22, 28}) {
    EXPECT_EQ(ean[static_cast<std::size_t>(c)], 1.0) << c;
  }
  // POSTNET '1' (00011): three half bars, then two full ones, a tenth of the cell wide each.
  const std::vector<double> postnet = ExpectedColumns(sheet::GlyphFont::kPostnet, "1");
  EXPECT_EQ(postnet[0], 0.4);
  EXPECT_EQ(postnet[5], 0.0);
  EXPECT_EQ(postnet[20], 1.0);
  EXPECT_EQ(postnet[26], 1.0);
  EXPECT_EQ(ExpectedColumns(sheet::GlyphFont::kCode39, "AB").size(), 64u);
}

TEST(Tolerances, HeightAndModuleDifferPastTheirs) {
  struct Case {
    double expected;
    double measured;
    bool heightDiffers;
    bool moduleDiffers;
  };
  const Case cases[] = {
      {0.5, 0.5, false, false},   {0.5, 0.54, false, false},    {0.5, 0.56, true, false},
      {0.5, 0.44, true, false},   {0.1667, 0.14, false, false}, {0.1667, 0.13, true, false},
      {0.1667, 0.12, true, true}, {2.0, 1.85, false, false},    {2.0, 1.79, true, false},
      {0.02, 0.026, false, true}, {0.02, 0.024, false, false},  {0.5, 0.0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.expected) + " " + std::to_string(c.measured));
    EXPECT_EQ(HeightDiffers(c.expected, c.measured), c.heightDiffers);
    EXPECT_EQ(ModuleDiffers(c.expected, c.measured), c.moduleDiffers);
  }
}

TEST(SizeCheck, SaysDiffersOnlyPastTheUncertaintyAndNotMeasuredWhereThePictureCannotTell) {
  // Tolerances: a height 10 % or 0.03 in, a module 25 %. Uncertainty: a dot at each end of a
  // height or span (a narrow bar's width: one dot), plus the placement's scale error.
  struct Case {
    const char* what;
    SizeCheck check;
    SizeState state;
    const char* why;
  };
  const Case cases[] = {
      {"height as printed, 300 dpi", CheckHeight(0.5, 0.5, 300, 0), SizeState::kWithin, ""},
      {"height 0.1 in over, 300 dpi", CheckHeight(0.5, 0.6, 300, 0), SizeState::kDiffers, ""},
      // 0.055 past: over the tolerance (0.05) but not over it and 2/300 in.
      {"height just past its tolerance", CheckHeight(0.5, 0.555, 300, 0), SizeState::kWithin, ""},
      {"height at 30 dpi", CheckHeight(0.5, 0.6, 30, 0), SizeState::kNotMeasured,
       "30 dots an inch here"},
      // A placement 15 % unsure of its scale cannot tell 2.00 in from 0.92 in within 0.2 in.
      {"height, placement unsure", CheckHeight(2.0, 0.92, 200, 0.15), SizeState::kNotMeasured,
       "the placement's scale is uncertain by 15 %"},
      {"height, nothing measured", CheckHeight(0.5, 0, 300, 0), SizeState::kNotMeasured,
       "its bars could not be measured"},
      // Code 128's 0.0111 in module from its narrow bars at 150 dpi: 1.7 dots a module.
      {"module of 1.7 dots", CheckModule(0.0111, 0.0079, 150, 0, 1), SizeState::kNotMeasured,
       "1.7 dots a module here"},
      // The same measured over a span of 100 modules at 300 dpi: 0.0032 in off, past 0.0028 +
      // 2/30000.
      {"module over its span", CheckModule(0.0111, 0.0079, 300, 0, 100), SizeState::kDiffers, ""},
      // 2 of 5 printed at 14/360 where 9/360 is asked, at 300 dpi.
      {"wide 2 of 5 narrow bar", CheckModule(0.025, 0.0389, 300, 0, 1), SizeState::kDiffers, ""},
      {"2 of 5 narrow bar a dot wide", CheckModule(0.025, 0.0325, 300, 0, 1), SizeState::kWithin,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.check.state, c.state);
    EXPECT_EQ(c.check.why, c.why);
  }
}

TEST(JudgePage, JudgesEveryBlockAndListsSymbolsNoBlockHolds) {
  ExpectedPage page{"dot-matrix", 0, 8.27, 11.69, {Ean8Block(), Ean8Block()}, {}};
  page.blocks[1].number = 2;
  page.blocks[1].symbology = Symbology::kCode39;
  page.blocks[1].data = "PLJ BARCODE DRUCKA";
  PageFindings findings;
  findings.symbols = {Found(true, Symbology::kEan8, "12345670"),
                      Found(true, Symbology::kInterleaved2of5, "1236"),
                      Found(true, Symbology::kInterleaved2of5, "95")};
  findings.symbols[0].block = 1;
  findings.symbols[0].heightInches = 1.0;
  findings.symbols[2].reads = 1;  // speckle
  findings.regions = {{1, 0.3, {}}, {2, 0.0, {}}};
  const std::vector<BlockResult> results = JudgePage(page, findings);
  ASSERT_EQ(results.size(), 3u);
  // One answer per block: a symbol read right but 1.0 in high where 0.5 is printed.
  EXPECT_EQ(results[0].verdict, Verdict::kSizeDiffers);
  EXPECT_TRUE(results[0].heightDiffers);
  EXPECT_EQ(results[1].verdict, Verdict::kNotFound);
  EXPECT_EQ(results[2].verdict, Verdict::kUnexpected);
  EXPECT_EQ(results[2].block, 0);
  EXPECT_TRUE(AnyDifference(results));
  EXPECT_EQ(SummaryLine(results), "2 blocks: 1 not found, 1 unexpected, 1 size differs");
  // A photo: the same findings, not graded.
  findings.placement.photo = true;
  const std::vector<BlockResult> photo = JudgePage(page, findings);
  EXPECT_FALSE(photo[0].grade.graded);
  EXPECT_TRUE(photo[0].gradeWithheld);
}

TEST(VerdictTable, NamesColoursAndWhatDiffers) {
  struct Case {
    Verdict verdict;
    const char* name;
    bool differs;
    const char* colour;
  };
  const Case cases[] = {
      {Verdict::kAsExpected, "as expected", false, "green"},
      {Verdict::kOtherData, "other data", true, "amber"},
      {Verdict::kOtherSymbology, "other symbology", true, "amber"},
      {Verdict::kUnreadable, "unreadable", true, "red"},
      {Verdict::kNotFound, "not found", true, "red"},
      {Verdict::kUnexpected, "unexpected", true, "amber"},
      {Verdict::kGlyphs, "glyphs", false, "green"},
      {Verdict::kText, "text", true, "red"},
      {Verdict::kBlank, "blank", true, "red"},
      {Verdict::kSizeDiffers, "size differs", true, "amber"},
  };
  ASSERT_EQ(VerdictTable().size(), std::size(cases));
  for (const Case& c : cases) {
    EXPECT_STREQ(RowOf(c.verdict).name, c.name);
    EXPECT_EQ(RowOf(c.verdict).differs, c.differs);
    EXPECT_STREQ(RowOf(c.verdict).colour, c.colour);
  }
}

TEST(BlockLine, SaysTheVerdictAndWhatWasRead) {
  const ExpectedBlock block = Ean8Block();
  FoundSymbol same = Found(true, Symbology::kEan8, "12345670");
  same.heightInches = 0.5;
  FoundSymbol other = Found(true, Symbology::kEan8, "76543210");
  other.heightInches = 0.25;
  FoundSymbol upc = Found(true, Symbology::kUpcA, "123456789012");
  struct Case {
    BlockResult result;
    const char* line;
  };
  const Case cases[] = {
      {{1, &block, &same, Verdict::kAsExpected, false, false, {}},
       "block 1 EAN-8 12345670: as expected, 0.50 in high"},
      {{1, &block, &other, Verdict::kOtherData, true, false, {}},
       "block 1 EAN-8 12345670: other data (reads 76543210), 0.25 in high (differs: 0.50 in "
       "expected)"},
      {{1, &block, &upc, Verdict::kOtherSymbology, false, false, {}},
       "block 1 EAN-8 12345670: other symbology (reads UPC-A 123456789012)"},
      {{1, &block, nullptr, Verdict::kNotFound, false, false, {}},
       "block 1 EAN-8 12345670: not found"},
      {{0, nullptr, &upc, Verdict::kUnexpected, false, false, {}},
       "symbol UPC-A 123456789012: unexpected"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlockLine(c.result), c.line);
  }
  SymbolGrade grade;
  grade.graded = true;
  grade.value = 3.1;
  grade.letter = 'B';
  EXPECT_EQ(BlockLine({1, &block, &same, Verdict::kAsExpected, false, false, grade}),
            "block 1 EAN-8 12345670: as expected, grade B (3.1), 0.50 in high");
}

}  // namespace
}  // namespace quorvel::verify
