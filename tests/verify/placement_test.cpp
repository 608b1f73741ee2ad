// Placing a scan on the sheet: the picture points below are worked out by hand from the scale,
// turn and offset each case names.

#include <gtest/gtest.h>

#include <cmath>

#include "sheet/page_model.h"
#include "verify/expected_blocks.h"
#include "verify/placement.h"

namespace quorvel::verify {
namespace {

TEST(FitPlacement, FindsScaleTurnAndOffset) {
  struct Case {
    const char* what;
    std::vector<Anchor> anchors;
    double scale;
    double rotation;
    Point offset;
  };
  const Case cases[] = {
      // 300 dpi, upright, the sheet's corner at the picture's.
      {"upright", {{{1, 1}, {300, 300}}, {{1, 5}, {300, 1500}}, {{2, 8}, {600, 2400}}}, 300, 0,
       {0, 0}},
      // 150 dpi, offset by (20, -10) dots.
      {"150 dpi", {{{1, 1}, {170, 140}}, {{3, 7}, {470, 1040}}}, 150, 0, {20, -10}},
      // Turned 90 degrees clockwise onto a picture 3300 dots wide: (x, y) -> (3300 - 300y, 300x).
      {"turned 90", {{{1, 1}, {3000, 300}}, {{1, 5}, {1800, 300}}, {{4, 2}, {2700, 1200}}}, 300,
       90, {3300, 0}},
      // Turned 180: (x, y) -> (2550 - 300x, 3300 - 300y).
      {"turned 180", {{{1, 1}, {2250, 3000}}, {{2, 6}, {1950, 1500}}}, 300, 180, {2550, 3300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Placement placement = FitPlacement(c.anchors);
    ASSERT_TRUE(placement.found);
    EXPECT_NEAR(placement.scale, c.scale, 1e-6);
    EXPECT_NEAR(placement.rotationDegrees, c.rotation, 1e-6);
    EXPECT_NEAR(placement.offset.x, c.offset.x, 1e-6);
    EXPECT_NEAR(placement.offset.y, c.offset.y, 1e-6);
    EXPECT_EQ(placement.anchors, static_cast<int>(c.anchors.size()));
    EXPECT_NEAR(LargestMiss(placement, c.anchors), 0, 1e-9);
  }
}

TEST(FitPlacement, RefusesWhatPlacesNothing) {
  EXPECT_FALSE(FitPlacement({}).found);
  EXPECT_FALSE(FitPlacement({{{1, 1}, {300, 300}}}).found);
  EXPECT_FALSE(FitPlacement({{{1, 1}, {300, 300}}, {{1, 1}, {310, 300}}}).found);  // one point
  EXPECT_FALSE(FitPlacement({{{1, 1}, {10, 10}}, {{1, 5}, {10, 50}}}).found);      // 10 dpi
}

TEST(PlaceFromOne, TakesScaleAndTurnAsGiven) {
  // Turned 270: (x, y) -> (300y, 2550 - 300x) on a picture 2550 dots tall.
  const Placement placement = PlaceFromOne({{1, 2}, {600, 2250}}, 300, 3);
  ASSERT_TRUE(placement.found);
  EXPECT_NEAR(placement.rotationDegrees, -90, 1e-9);
  const Point p = ToPicture(placement, {4, 5});
  EXPECT_NEAR(p.x, 1500, 1e-6);
  EXPECT_NEAR(p.y, 1350, 1e-6);
  const Point back = ToSheet(placement, p);
  EXPECT_NEAR(back.x, 4, 1e-9);
  EXPECT_NEAR(back.y, 5, 1e-9);
}

// Five symbols where an upright 300-dpi sheet puts them, and block 5's printed 0.35 in wider, its
// middle 0.175 in (52.5 dots) right of where the sheet has it.
TEST(WithoutStray, LeavesOutTheSymbolPrintedWider) {
  const std::vector<Anchor> anchors{{{1, 1.5}, {300, 450}},     {{3, 4}, {900, 1200}},
                                    {{1, 6}, {300, 1800}},      {{3, 7.5}, {900, 2250}},
                                    {{1, 9}, {352.5, 2700}},    {{1.5, 10.5}, {450, 3150}}};
  const Placement all = FitPlacement(anchors);
  ASSERT_TRUE(all.found);
  EXPECT_GT(std::abs(all.rotationDegrees), 0.1);  // the one pulls the whole fit askew
  const Placement fitted = WithoutStray(all, anchors, 0.1);
  EXPECT_NEAR(fitted.scale, 300, 1e-6);
  EXPECT_NEAR(fitted.rotationDegrees, 0, 1e-6);
  EXPECT_NEAR(fitted.offset.x, 0, 1e-6);
  EXPECT_EQ(fitted.anchors, 5);
  // Within the tolerance, or with three anchors, nothing is left out.
  EXPECT_EQ(WithoutStray(all, anchors, 0.5).anchors, 6);
  const std::vector<Anchor> three(anchors.begin() + 2, anchors.begin() + 5);
  EXPECT_EQ(WithoutStray(FitPlacement(three), three, 0.1).anchors, 3);
}

TEST(QuarterTurnsAndSkew, SplitTheRotation) {
  struct Case {
    double rotation;
    int turns;
    double skew;
  };
  const Case cases[] = {{0, 0, 0},     {3, 0, 3},       {-5, 0, -5},   {90, 1, 0},
                        {87.5, 1, -2.5}, {180, 2, 0},   {-178, 2, 2},  {-90, 3, 0},
                        {-93, 3, -3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rotation);
    EXPECT_EQ(QuarterTurns(c.rotation), c.turns);
    EXPECT_NEAR(Skew(c.rotation), c.skew, 1e-9);
  }
}

TEST(BlockAt, FindsTheBlockAroundASymbol) {
  ExpectedPage page{"dot-matrix", 0, 8.27, 11.69, {}, {}};
  page.blocks.resize(2);
  page.blocks[0].number = 1;
  page.blocks[0].box = {0.36, 1.33, 1.06, 0.5};
  page.blocks[1].number = 2;
  page.blocks[1].box = {0.75, 3.0, 5.28, 2.0};
  EXPECT_EQ(BlockAt(page, {0.36, 1.33, 1.06, 0.5}), 1);
  EXPECT_EQ(BlockAt(page, {0.5, 1.2, 1.0, 0.5}), 1);  // a little off
  EXPECT_EQ(BlockAt(page, {0.75, 3.1, 5.2, 1.9}), 2);
  EXPECT_EQ(BlockAt(page, {5.0, 8.0, 1.0, 0.5}), 0);  // where no block is
}

// The dot-matrix test page's blocks, from its bytes as the printer's manual reads them: EAN-8 at
// line 6 (1/3 + 6/6 in down), its bars from the print position at
// column 0 (0.25 in), 67 modules of 40/2520 in wide.
TEST(ExpectedPages, HoldTheDotMatrixPagesBlocks) {
  sheet::Sheet sheet;
  sheet.geometry = {0.25, 1.0 / 3, 10, 6, 80, 70, {}};
  sheet.pages = 1;
  sheet::Barcode ean8;
  ean8.at = {0, 6, 0};
  ean8.symbology = sheet::Symbology::kEan8;
  ean8.data = "12345670";
  ean8.heightInches = 0.5;
  ean8.moduleInches = 40.0 / 7 / 360;
  ean8.inkInches = 3.0 / 360;
  sheet::Barcode code39;
  code39.at = {0, 40, 0};
  code39.symbology = sheet::Symbology::kCode39;
  code39.data = "AB";
  code39.heightInches = 0.5;
  code39.moduleInches = 0.01;
  code39.wideInches = 0.03;
  code39.spaceInches = 0.01;
  code39.wideSpaceInches = 0.03;
  sheet.barcodes = {ean8, code39};
  const std::vector<ExpectedPage> pages = ExpectedPages(sheet, "dot-matrix", sheet::Paper::kA4);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].blocks.size(), 2u);
  const ExpectedBlock& b = pages[0].blocks[0];
  EXPECT_EQ(b.number, 1);
  EXPECT_EQ(b.data, "12345670");
  EXPECT_NEAR(b.box.left, 0.25, 1e-9);
  EXPECT_NEAR(b.box.top, 1.0 / 3 + 1, 1e-9);
  EXPECT_NEAR(b.box.width, 67 * 40.0 / 7 / 360, 1e-9);
  EXPECT_NEAR(b.box.height, 0.5, 1e-9);
  EXPECT_NEAR(b.inkInches, 3.0 / 360, 1e-12);
  // Code 39 "AB": 4 characters of 3 wide and 6 narrow elements, 3 narrow gaps between them:
  // 4 * (0.09 + 0.06) + 3 * 0.01 = 0.63 in.
  EXPECT_NEAR(pages[0].blocks[1].box.width, 0.63, 1e-9);
  EXPECT_NEAR(pages[0].paperWidthInches, 210 / 25.4, 1e-9);
}

TEST(SymbolWidth, FollowsEachSymbologysLayout) {
  sheet::Barcode b;
  b.moduleInches = 0.01;
  b.wideInches = 0.03;
  b.spaceInches = 0.01;
  b.wideSpaceInches = 0.03;
  struct Case {
    sheet::Symbology symbology;
    const char* data;
    double width;
  };
  const Case cases[] = {
      {sheet::Symbology::kEan13, "1234567890128", 0.95},
      {sheet::Symbology::kUpcE, "01234565", 0.51},
      // Code 128, digits in pairs: start, 5 pairs, check (7 x 11) and the stop (13): 90 modules.
      {sheet::Symbology::kCode128, "0123456789", 0.90},
      // Code 128 letters: start, 3, check (5 x 11) and the stop: 68 modules.
      {sheet::Symbology::kCode128, "ABC", 0.68},
      // 2 of 5 "1236": 2 pairs of 2 x 0.03 + 3 x 0.01 twice (0.18 each), start 0.04, stop 0.05.
      {sheet::Symbology::kInterleaved2of5, "1236", 0.45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    b.symbology = c.symbology;
    b.data = c.data;
    EXPECT_NEAR(SymbolWidthInches(b), c.width, 1e-9);
  }
}

// The module measured along a line of a drawn symbol, worked out by hand: the dots of the line's
// bars at the scan's resolution, less the ink the sheet spreads round each bar (3/360 in).
TEST(MeasuredModule, TakesTheInkSpreadOff) {
  struct Case {
    const char* what;
    std::vector<double> bars;
    double span;
    double dpi;
    sheet::Symbology symbology;
    double ink;
    double module;
  };
  const double ink = 3.0 / 360;
  const Case cases[] = {
      // narrow bars of 6 dots at 300 dpi are 0.0200 in printed, 0.0117 in from the head
      {"Code 39, narrow 6 wide 15", {6, 15, 6, 6, 15, 6}, 200, 300, sheet::Symbology::kCode39, ink,
       0.011667},
      {"2 of 5, narrow 10 wide 24", {10, 10, 24, 10, 24, 10}, 300, 300,
       sheet::Symbology::kInterleaved2of5, ink, 0.025},
      {"Code 39 without ink", {6, 15, 6}, 100, 300, sheet::Symbology::kCode39, 0, 0.02},
      // 320 dots at 300 dpi are 1.0667 in; less the ink, 1.0583 in over 67 modules
      {"EAN-8 over its span", {5, 5, 10}, 320, 300, sheet::Symbology::kEan8, ink, 0.015796},
      // three characters and the stop: 13 bars over 46 modules, 0.5 in
      {"Code 128 over its span", std::vector<double>(13, 4), 50, 100, sheet::Symbology::kCode128, 0,
       0.010870},
      {"Code 128 too short", std::vector<double>(6, 4), 50, 100, sheet::Symbology::kCode128, 0, 0},
      {"no bars", {}, 50, 100, sheet::Symbology::kCode39, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(MeasuredModule(c.bars, c.span, c.dpi, c.symbology, c.ink), c.module, 5e-6);
  }
}

}  // namespace
}  // namespace quorvel::verify
