// Any bytes give a sheet: bounded pages, noted commands, nothing guessed.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "fakes/hex.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {
namespace {

using inspect::Dialect;
using testing::Hex;

TEST(SheetLimits, StopsAfterAHundredPagesAndSaysSo) {
  for (const Dialect dialect : {Dialect::kDotMatrix, Dialect::kPcl}) {
    const Sheet exact = Interpret(std::string(100, '\f'), dialect);
    EXPECT_EQ(exact.pages, 100);
    EXPECT_FALSE(exact.cutOff);
    const Sheet more = Interpret(std::string(150, '\f') + "text", dialect);
    EXPECT_EQ(more.pages, 100);
    ASSERT_EQ(more.pageBreaks.size(), 100u);
    EXPECT_EQ(more.pageBreaks.back(), (PageBreak{99, {99, 1}}));
    EXPECT_TRUE(more.cutOff);
    ASSERT_FALSE(more.notes.empty());
    EXPECT_EQ(more.notes.back().text, "the job goes on past 100 pages: the rest is not drawn");
  }
}

TEST(SheetLimits, LongLinesWrapOnTheDotMatrixAndAreClippedInPcl) {
  const std::string line(200, 'x');
  const Sheet dotMatrix = Interpret(line, Dialect::kDotMatrix);
  ASSERT_EQ(dotMatrix.texts.size(), 3u);
  EXPECT_EQ(dotMatrix.texts[2].at, (Position{0, 2, 0}));
  EXPECT_EQ(dotMatrix.texts[2].text.size(), 40u);
  const Sheet pcl = Interpret(line, Dialect::kPcl, Paper::kLetter);
  ASSERT_EQ(pcl.texts.size(), 1u);
  EXPECT_EQ(pcl.texts[0].text.size(), 80u);
  ASSERT_EQ(pcl.notes.size(), 1u);
  EXPECT_EQ(pcl.notes[0].bytes, (ByteSpan{80, 1}));
}

TEST(SheetLimits, FullPagesBreakOntoTheNextSheet) {
  std::string job;
  for (int i = 0; i < 71; ++i) {
    job += "line\r\n";
  }
  const Sheet sheet = Interpret(job, Dialect::kDotMatrix);  // 70 lines on A4
  EXPECT_EQ(sheet.pages, 2);
  EXPECT_EQ(sheet.pageBreaks, (std::vector<PageBreak>{{0, {419, 1}}}));  // the 70th line feed
  EXPECT_EQ(sheet.texts.back().at, (Position{1, 0, 0}));
}

TEST(SheetLimits, NotesWhatThePrinterSkips) {
  struct Case {
    Dialect dialect;
    const char* hex;
    const char* note;
  };
  const std::vector<Case> cases{
      {Dialect::kPcl, "1B 26 6C 31 4F 41", "skipped: ESC \"&l1O\" orientation 1"},
      {Dialect::kPcl, "1B 7F 41", "ESC followed by a byte PCL gives no meaning: ESC is skipped"},
      {Dialect::kPcl, "1B 28 39 39 58 41",
       "symbol set 99X is unknown here: its characters are "
       "drawn as text"},
      {Dialect::kDotMatrix, "00", "NUL: not drawn"},
      {Dialect::kDotMatrix, "1B 10 42 05 31",
       "barcode data: cut off: the job ends 4 of 5 bytes "
       "early; not carried out"},
  };
  for (const Case& c : cases) {
    const Sheet sheet = Interpret(Hex(c.hex), c.dialect);
    ASSERT_FALSE(sheet.notes.empty()) << c.hex;
    EXPECT_EQ(sheet.notes[0].text, c.note) << c.hex;
  }
}

TEST(SheetLimits, RandomBytesGiveABoundedSheet) {
  std::mt19937 random(9);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string job(1 << 20, '\0');
  for (char& c : job) {
    c = static_cast<char>(byte(random));
  }
  for (const Dialect dialect : {Dialect::kDotMatrix, Dialect::kPcl}) {
    const Sheet sheet = Interpret(job, dialect);
    EXPECT_LE(sheet.pages, kMaxPages);
    EXPECT_LE(sheet.notes.size(), kMaxNotes + 2);
    EXPECT_LE(sheet.barcodes.size(), kMaxBarcodes);
  }
  EXPECT_EQ(Interpret("", Dialect::kPcl).pages, 0);
}

}  // namespace
}  // namespace quorvel::sheet
