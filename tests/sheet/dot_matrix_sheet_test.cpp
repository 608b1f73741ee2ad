// The dot-matrix page as an IBM/Epson-emulation printer prints it, written out from the barcode
// chapters of the printer reference manuals (docs/sheet.md): type pairs, bar length in 15/180
// inch, the 1/360-inch width tables, "@" for the check digit.

#include <gtest/gtest.h>

#include <vector>

#include "fakes/expected_pages.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {
namespace {

constexpr double kUnit = 1.0 / 360;

struct ExpectedBarcode {
  int line;
  Symbology symbology;
  const char* data;
  const char* check;
  double height;
  double module;
  double wide;
  double space;  // Code 39 / 2 of 5: narrow space by n6 (8 10 13 15 18 20 23 /360)
  double wideSpace;
  bool humanReadable;
  std::size_t offset;  // of ESC DLE B
  std::size_t length;
};

// Line 3's 81 characters fill the 80-column line, so its colon goes on line 4 and every later
// line sits one lower than in the page's own line table.
const std::vector<ExpectedBarcode> kBarcodes{
    {6, Symbology::kEan8, "12345670", "0", 0.5, 40 * kUnit / 7, 0, 0, 0, true, 172, 12},
    {16, Symbology::kUpcA, "123456789012", "2", 2.0, 140 * kUnit / 7, 0, 0, 0, false, 361, 16},
    {32, Symbology::kUpcE, "01234565", "5", 1.0 / 6, 49 * kUnit / 7, 0, 0, 0, true, 559, 10},
    // n6 = 2: narrow space 10/360; the wide space (approximate) 14 + 10 - 4.
    {40, Symbology::kCode39, "PLJ BARCODE DRUCKA", "A", 0.5, 4 * kUnit, 14 * kUnit, 10 * kUnit,
     20 * kUnit, true, 749, 22},
    // n6 = 4: narrow space 15/360; the wide space (approximate) 39 + 15 - 9.
    {48, Symbology::kInterleaved2of5, "1236", "6", 1.0, 9 * kUnit, 39 * kUnit, 15 * kUnit,
     45 * kUnit, false, 946, 8},
    {59, Symbology::kCode128, "0123456789", "77", 0.5, 64 * kUnit / 11, 0, 0, 0, true, 1130, 16},
};

TEST(DotMatrixSheet, PrintsTheSixBarcodesWithTheValuesTheBytesAskFor) {
  const Sheet sheet = Interpret(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix);
  ASSERT_EQ(sheet.barcodes.size(), kBarcodes.size());
  for (std::size_t i = 0; i < kBarcodes.size(); ++i) {
    const ExpectedBarcode& want = kBarcodes[i];
    const Barcode& got = sheet.barcodes[i];
    SCOPED_TRACE(want.data);
    EXPECT_EQ(got.at, (Position{0, want.line, 0}));
    EXPECT_EQ(got.symbology, want.symbology);
    EXPECT_EQ(got.data, want.data);
    EXPECT_EQ(got.check, want.check);
    EXPECT_NEAR(got.heightInches, want.height, 1e-9);
    EXPECT_NEAR(got.moduleInches, want.module, 1e-9);
    EXPECT_NEAR(got.wideInches, want.wide, 1e-9);
    EXPECT_NEAR(got.spaceInches, want.space, 1e-9);
    EXPECT_NEAR(got.wideSpaceInches, want.wideSpace, 1e-9);
    EXPECT_EQ(got.humanReadable, want.humanReadable);
    // "No calculation takes place for UPC-E, it does not print the checksum" (MICROLINE 3390
    // C-11): its line reads the number without the 5.
    EXPECT_EQ(got.humanText, want.symbology == Symbology::kUpcE ? "0123456" : "");
    EXPECT_EQ(got.codeSet, want.symbology == Symbology::kCode128 ? 'A' : 0);
    EXPECT_EQ(got.bytes, (ByteSpan{want.offset, want.length}));
    EXPECT_EQ(got.settings, (ByteSpan{want.offset - 12, 12}));
  }
}

TEST(DotMatrixSheet, LaysOutTheTextAtTenCharactersAndSixLinesPerInch) {
  const Sheet sheet = Interpret(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix);
  EXPECT_EQ(sheet.pages, 1);
  EXPECT_EQ(sheet.pageBreaks, (std::vector<PageBreak>{{0, {1153, 1}}}));  // the form feed
  EXPECT_FALSE(sheet.cutOff);
  EXPECT_EQ(sheet.geometry.columns, 80);
  EXPECT_EQ(sheet.geometry.lines, 70);  // 297 mm at 6 lines per inch
  ASSERT_GE(sheet.texts.size(), 5u);
  const std::vector<TextRun> first{
      {{0, 0, 0}, "Quorvelprint", Typeface::kFixed, {0, 12}, {}},
      {{0, 3, 0},
       "ESC-Sequence: ESC SYN A BS NUL SOH NUL ACK SOH SOH SOH SOH ESC SYN B BS 1234567@",
       Typeface::kFixed,
       {18, 80},
       {}},
      {{0, 4, 0}, ":", Typeface::kFixed, {98, 1}, {}},
      {{0, 5, 0},
       "Barcode EAN8, 0.5 Zoll high, smallest width, plaintext LQ",
       Typeface::kFixed,
       {101, 57},
       {}},
  };
  EXPECT_EQ(std::vector<TextRun>(sheet.texts.begin(), sheet.texts.begin() + 4), first);
  // ESC k 1 after the EAN-13 block selects the sans serif face; the ESC k 126 after it are
  // ignored, so the face holds to the end of the page.
  const auto sequence3 = std::find_if(sheet.texts.begin(), sheet.texts.end(),
                                      [](const TextRun& run) { return run.bytes.offset == 408; });
  ASSERT_NE(sequence3, sheet.texts.end());
  EXPECT_EQ(sequence3->at, (Position{0, 30, 0}));
  EXPECT_EQ(sequence3->typeface, Typeface::kSansSerif);
  EXPECT_EQ(sheet.texts.back().typeface, Typeface::kSansSerif);
}

TEST(DotMatrixSheet, NotesTheWrappedLineAndTheIgnoredTypefaces) {
  const Sheet sheet = Interpret(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix);
  ASSERT_EQ(sheet.notes.size(), 6u);
  EXPECT_EQ(sheet.notes[0].bytes, (ByteSpan{98, 1}));
  EXPECT_NE(sheet.notes[0].text.find("full at 80 columns"), std::string::npos);
  const std::vector<std::size_t> escK126{186, 571, 773, 956, 1148};
  for (std::size_t i = 0; i < escK126.size(); ++i) {
    EXPECT_EQ(sheet.notes[i + 1].bytes, (ByteSpan{escK126[i], 3}));
    EXPECT_NE(sheet.notes[i + 1].text.find("ESC k 126: no such typeface"), std::string::npos);
  }
}

// A wide carriage (136 columns, MICROLINE 3391) holds line 3's 81 characters: no wrap, and
// every later item sits one line higher than on an 80-column printer.
TEST(DotMatrixSheet, AWideCarriageDoesNotWrapTheLongLine) {
  const Sheet sheet = Interpret(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix,
                                Paper::kA4, kWideColumns);
  EXPECT_EQ(sheet.geometry.columns, 136);
  ASSERT_GE(sheet.texts.size(), 2u);
  EXPECT_EQ(sheet.texts[1].at, (Position{0, 3, 0}));
  EXPECT_EQ(sheet.texts[1].bytes, (ByteSpan{18, 81}));
  EXPECT_EQ(sheet.notes.size(), 5u);  // the five ESC k 126
  ASSERT_EQ(sheet.barcodes.size(), kBarcodes.size());
  for (std::size_t i = 0; i < kBarcodes.size(); ++i) {
    EXPECT_EQ(sheet.barcodes[i].at, (Position{0, kBarcodes[i].line - 1, 0}));
  }
}

TEST(DotMatrixSheet, MarksWhereTheDescriptionLinesDisagreeWithTheBytes) {
  const Sheet sheet = Interpret(testing::ExpectedDotMatrixJob(), inspect::Dialect::kDotMatrix);
  struct Expected {
    std::size_t caption;
    std::size_t item;
    const char* words;
  };
  const std::vector<Expected> expected{
      {290, 361, "says EAN13, the bytes select UPC-A"},
      {290, 361, "says 1.00 in high, the bytes ask for 2.00 in"},
      {290, 361, "names a human-readable line, the bytes turn it off"},
      {866, 946, "names a human-readable line, the bytes turn it off"},
  };
  ASSERT_EQ(sheet.disagreements.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(sheet.disagreements[i].caption.offset, expected[i].caption);
    EXPECT_EQ(sheet.disagreements[i].item.offset, expected[i].item);
    EXPECT_EQ(sheet.disagreements[i].text, expected[i].words);
  }
}

}  // namespace
}  // namespace quorvel::sheet
