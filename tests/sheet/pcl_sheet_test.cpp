// The PCL page as a printer with the barcode symbol sets prints it: Courier 10 characters per
// inch, 6 lines per inch below the half-inch top margin; SO/SI and the designations choose what
// each data line prints in.

#include <gtest/gtest.h>

#include <vector>

#include "fakes/expected_pages.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {
namespace {

TEST(PclSheet, PrintsTheShiftedDataLinesAsBarcodeFontGlyphs) {
  const Sheet sheet = Interpret(testing::ExpectedPclJob(), inspect::Dialect::kPcl);
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  // Line 13 designates 10U for the primary font, but SO already chose the secondary one, which
  // still holds 0Y: the "2 of 5" digits print as Code 39 glyphs.
  const std::vector<GlyphRun> expected{
      {{0, 6, 0}, GlyphFont::kCode39, letters, false, {83, 26}},
      {{0, 13, 0}, GlyphFont::kCode39, "1234567890", false, {179, 10}},
      // The letters are codes 8Y and 15Y do not define: each prints a space.
      {{0, 20, 0}, GlyphFont::kEanUpc, "1234567890", true, {242, 10}},
      {{0, 31, 0}, GlyphFont::kPostnet, "1234567890", true, {363, 10}},
  };
  EXPECT_EQ(sheet.glyphs, expected);
  EXPECT_TRUE(sheet.barcodes.empty());
  EXPECT_TRUE(sheet.notes.empty());
  EXPECT_EQ(sheet.pages, 1);
}

TEST(PclSheet, PrintsCaptionsAndPrimaryLinesAsText) {
  const Sheet sheet = Interpret(testing::ExpectedPclJob(), inspect::Dialect::kPcl);
  const std::vector<TextRun> expected{
      {{0, 0, 0}, "Quorvelprint", Typeface::kFixed, {0, 12}, {}},
      {{0, 1, 0}, "(Just for test, not scannable!)", Typeface::kFixed, {14, 31}, {}},
      {{0, 5, 0}, "Barcode 3 of 9: ESC(0Y", Typeface::kFixed, {54, 22}, {}},
      {{0, 7, 0}, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", Typeface::kFixed, {112, 26}, {}},
      {{0, 12, 0}, "Barcode 2 of 5: ESC(10U", Typeface::kFixed, {148, 23}, {}},
      {{0, 14, 0}, "1234567890", Typeface::kFixed, {192, 10}, {}},
      {{0, 19, 0}, "Barcode EAN/UPC: ESC(8Y", Typeface::kFixed, {212, 23}, {}},
      {{0, 21, 0}, "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ", Typeface::kFixed, {281, 36}, {}},
      {{0, 26, 0}, "Barcode ZIP: ESC(15Y", Typeface::kFixed, {327, 20}, {}},
      {{0, 32, 0}, "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ", Typeface::kFixed, {402, 36}, {}},
  };
  EXPECT_EQ(sheet.texts, expected);
}

TEST(PclSheet, UsesPclsDefaultPageForThePaper) {
  const Geometry a4 = Interpret("", inspect::Dialect::kPcl, Paper::kA4).geometry;
  const Geometry letter = Interpret("", inspect::Dialect::kPcl, Paper::kLetter).geometry;
  // The logical page centred: (2480 - 2338) / 2 = 71 dots on A4, (2550 - 2400) / 2 = 75 on letter.
  EXPECT_EQ(a4, (Geometry{71 / 300.0, 0.5, 10, 6, 77, 64, {}}));
  EXPECT_EQ(letter, (Geometry{0.25, 0.5, 10, 6, 80, 60, {}}));
}

TEST(PclSheet, MarksTheCaptionWhoseDataPrintsInAnotherSet) {
  const Sheet sheet = Interpret(testing::ExpectedPclJob(), inspect::Dialect::kPcl);
  ASSERT_EQ(sheet.disagreements.size(), 1u);
  EXPECT_EQ(sheet.disagreements[0].caption, (ByteSpan{148, 23}));
  EXPECT_EQ(sheet.disagreements[0].item, (ByteSpan{179, 10}));
  EXPECT_EQ(sheet.disagreements[0].text,
            "names 10U, a text set, the data line below it prints in the 0Y barcode font");
}

// A printer reads the UEL and the @PJL lines around a page as job control: nothing of them
// prints and they make no page (HP PJL Technical Reference p. 4-2, 5-8), and the UEL resets PCL
// as ESC E does (Lexmark PJL p. 3-2), so a font chosen before it is gone after it.
TEST(PclSheet, ReadsPjlAsJobControl) {
  const std::string uel = "\x1B%-12345X";
  const std::string header = uel + "@PJL JOB NAME=\"t\"\r\n@PJL USTATUS JOB=ON\r\n";
  const std::string trailer = uel + "@PJL EOJ NAME=\"t\"\r\n" + uel;
  const Sheet plain = Interpret(testing::ExpectedPclJob(), inspect::Dialect::kPcl);
  const Sheet wrapped =
      Interpret(header + testing::ExpectedPclJob() + trailer, inspect::Dialect::kPcl);
  EXPECT_EQ(wrapped.pages, 1);
  ASSERT_EQ(wrapped.texts.size(), plain.texts.size());
  for (std::size_t i = 0; i < plain.texts.size(); ++i) {
    EXPECT_EQ(wrapped.texts[i].at, plain.texts[i].at) << plain.texts[i].text;
    EXPECT_EQ(wrapped.texts[i].text, plain.texts[i].text);
    EXPECT_EQ(wrapped.texts[i].bytes.offset, plain.texts[i].bytes.offset + header.size());
  }
  EXPECT_EQ(wrapped.glyphs.size(), plain.glyphs.size());
  EXPECT_TRUE(wrapped.notes.empty());

  const Sheet reset = Interpret("\x1B)0Y\x0E" + uel + "A", inspect::Dialect::kPcl);
  EXPECT_TRUE(reset.glyphs.empty());
  ASSERT_EQ(reset.texts.size(), 1u);
  EXPECT_EQ(reset.texts[0].text, "A");
}

}  // namespace
}  // namespace quorvel::sheet
