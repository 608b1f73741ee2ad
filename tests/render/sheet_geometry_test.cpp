// The drawn dot-matrix sheet measured as a ruler would: at 300 dpi each symbol's bars are found
// row by row and held against where and how wide the printer's manual says it prints them.
// Widths are written out by hand from the manuals' tables (docs/sheet.md): modules times the
// module, or elements times their widths in 1/360 inch.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/expected_pages.h"
#include "render/render_sheet.h"
#include "sheet/page_model.h"

namespace quorvel {
namespace {

constexpr double kDpi = 300;

struct Band {
  int first = -1;  // x of the first black dot in the row, -1 for none
  int last = -1;
};

Band BlackIn(const QImage& image, int y) {
  Band band;
  for (int x = 0; x < image.width(); ++x) {
    if (qGray(image.pixel(x, y)) < 128) {
      band.first = band.first < 0 ? x : band.first;
      band.last = x;
    }
  }
  return band;
}

QImage Rendered(const std::string& job, sheet::Paper paper, const std::string& name,
               inspect::Dialect dialect = inspect::Dialect::kDotMatrix) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorvel-geometry";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / name).string();
  const render::RenderResult result =
      render::RenderSheet(sheet::Interpret(job, dialect, paper), path, {paper, 300});
  EXPECT_TRUE(result.error.empty()) << result.error;
  return QImage(QString::fromStdString(path));
}

struct SymbolBand {
  const char* block;
  int line;              // the line the bars' top sits on (3 lines below the page's own count)
  double widthInches;    // first bar to last bar
};

// The print position is 1/4 inch in; line 0's top 1/3 inch down, 6 lines to the inch.
const std::vector<SymbolBand> kBands{
    // EAN-8: 3 + 4 * 7 + 5 + 4 * 7 + 3 = 67 modules of 40/360/7 inch.
    {"1 EAN-8", 6, 67 * 40 / 2520.0},
    // UPC-A: 3 + 6 * 7 + 5 + 6 * 7 + 3 = 95 modules of 140/360/7 inch.
    {"2 UPC-A", 16, 95 * 140 / 2520.0},
    // UPC-E: 3 + 6 * 7 + 6 = 51 modules of 49/360/7 inch.
    {"3 UPC-E", 32, 51 * 49 / 2520.0},
    // Code 39: *PLJ BARCODE DRUCKA* = 20 characters, each of 3 narrow bars (4/360), 2 wide
    // bars (14/360), 3 narrow spaces (10/360) and 1 wide space (20/360); 19 narrow gaps.
    {"4 Code 39", 40, (20 * (3 * 4 + 2 * 14 + 3 * 10 + 20) + 19 * 10) / 360.0},
    // Interleaved 2 of 5 1236: start 2 narrow bars (9/360) and spaces (15/360), 2 pairs of 3
    // narrow and 2 wide bars (39/360) and 3 narrow and 2 wide spaces (45/360), stop wide bar,
    // narrow space, narrow bar.
    {"5 Interleaved 2 of 5", 48,
     (2 * 9 + 2 * 15 + 2 * (3 * 9 + 2 * 39 + 3 * 15 + 2 * 45) + 39 + 15 + 9) / 360.0},
    // Code 128 set A: start, 10 characters, check, stop = 145 modules of 64/360/11 inch.
    {"6 Code 128", 59, 145 * 64 / 3960.0},
};

TEST(DrawnDotMatrixSheet, DrawsEachSymbolAtThePrintPositionAndAsWideAsThePrinter) {
  const QImage image = Rendered(testing::ExpectedDotMatrixJob(), sheet::Paper::kA4, "dm.png");
  ASSERT_FALSE(image.isNull());
  for (const SymbolBand& want : kBands) {
    SCOPED_TRACE(want.block);
    const int y = static_cast<int>((1.0 / 3 + want.line / 6.0 + 0.03) * kDpi);
    const Band band = BlackIn(image, y);
    EXPECT_NEAR(band.first / kDpi, 0.25, 0.02);
    EXPECT_NEAR((band.last + 1 - band.first) / kDpi, want.widthInches, want.widthInches * 0.03);
    std::printf("%-22s first bar at x = %d (%.4f in), %d dots wide (%.4f in, want %.4f)\n",
                want.block, band.first, band.first / kDpi, band.last + 1 - band.first,
                (band.last + 1 - band.first) / kDpi, want.widthInches);
  }
}

struct PclOffset {
  sheet::Paper paper;
  const char* name;
  int column0;  // dots from the sheet's left edge at 300 dpi
};

// PCL's logical page, centred on the sheet: (2480 - 2338) / 2 = 71 dots on A4 and
// (2550 - 2400) / 2 = 75 on letter. A Code 39 glyph ("1": wide bar first) in column 0 starts
// exactly at the column's left edge.
TEST(DrawnPclSheet, PutsColumnZeroAtTheLogicalPagesLeftEdge) {
  const std::vector<PclOffset> cases{{sheet::Paper::kA4, "a4", 71},
                                     {sheet::Paper::kLetter, "letter", 75}};
  const std::string job =
      "\x1B)0Y"  // secondary font: the Code 39 font
      "\x0E"     // SO: print in it
      "1";
  for (const PclOffset& want : cases) {
    SCOPED_TRACE(want.name);
    const QImage image = Rendered(job, want.paper, std::string("pcl-") + want.name + ".png",
                                  inspect::Dialect::kPcl);
    ASSERT_FALSE(image.isNull());
    // Line 0's top is 1/2 inch down (150 dots); the glyph is 0.9 of the 50-dot line high.
    const Band band = BlackIn(image, 150 + 20);
    EXPECT_EQ(band.first, want.column0);
    std::printf("PCL %-6s column 0 at x = %d\n", want.name, band.first);
  }
}

}  // namespace
}  // namespace quorvel
