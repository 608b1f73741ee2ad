#include "scan/block_examination.h"

#include <algorithm>

#include "scan/region_clean.h"
#include "scan/region_measure.h"
#include "scan/symbol_finder.h"
#include "verify/glyph_profile.h"
#include "verify/homography.h"
#include "verify/placement.h"
#include "verify/verdicts.h"

namespace quorvel::scan {
namespace {

using verify::Box;
using verify::ExpectedBlock;
using verify::ExpectedPage;
using verify::FoundSymbol;
using verify::PageFindings;
using verify::Placement;

constexpr double kMaxRegionDpi = 600;  // regions are cut out at the scan's resolution, at most
constexpr int kScanLines = 10;         // profiles taken across each symbol for its grade
constexpr double kPhotoInset = 0.03;
// Ink shorter than this along the bars is dirt: the sheets' shortest bars are 0.17 in high.
constexpr double kSpeckInches = 0.04;
constexpr int kCleanInk = 128;  // a cleaned region is black and white   // how far inside its box a
                                // photo's block is looked at

Box Widened(const Box& box, double across, double up, double down) {
  return {box.left - across, box.top - up, box.width + 2 * across, box.height + up + down};
}

// The region a block's symbol is measured in: tall enough for bars printed higher than asked.
Box MeasureBox(const ExpectedBlock& block, const FoundSymbol& symbol) {
  const double height = std::max(block.box.height * 2, symbol.box.height * 1.5) + 0.1;
  return {std::min(block.box.left, symbol.box.left) - 0.1, block.box.top - 0.05,
          std::max(block.box.width, symbol.box.width) + 0.2, height};
}

FoundSymbol* SymbolIn(PageFindings& page, int block) {
  for (FoundSymbol& symbol : page.symbols) {
    if (symbol.block == block) {
      return &symbol;
    }
  }
  return nullptr;
}

// A block with no symbol read: its region again, upright and cleaned against one threshold;
// failing that, against its own neighbourhood with specks removed. True when only the latter
// read it: light or dirt then defeat one threshold, and the bars are measured cleaned so too.
bool ReadRegionAgain(const Region& region, int inkLevel, const ExpectedBlock& block,
                     int interleavedDigits, const Placement& placement, PageFindings& page) {
  // Bars blurred or cut short read as a short 2 of 5 symbol easily: one that a block of another
  // symbology holds is taken only as long as the whole page's reading takes.
  const int digits = block.symbology == sheet::Symbology::kInterleaved2of5
                         ? static_cast<int>(block.data.size())
                         : interleavedDigits;
  std::vector<FoundSymbol> again = FindSymbols(Cleaned(region, inkLevel), digits);
  const bool locally = again.empty();
  if (locally) {
    again = FindSymbols(CleanedLocally(region, kSpeckInches), digits);
  }
  if (again.empty()) {
    return false;
  }
  FoundSymbol symbol = again.front();
  const double margin = CleanMargin(region);
  for (verify::Point& p : symbol.outline) {
    const verify::Point onSheet{region.box.left + (p.x - margin) / region.pixelsPerInch,
                                region.box.top + (p.y - margin) / region.pixelsPerInch};
    p = verify::ToPicture(placement, onSheet);
  }
  symbol.box = verify::SheetBox(placement, symbol.outline);
  symbol.block = block.number;
  symbol.fromRegion = true;
  page.symbols.push_back(symbol);
  return locally;
}

// How a block is looked at: the placement its region is cut out by, the dots an inch it is cut
// out at, and the picture's own dots an inch there, across the bars and along them.
struct BlockView {
  Placement placement;
  double dpi = 0;
  double across = 0;
  double along = 0;
};

BlockView ViewOf(const PageFindings& page, const PhotoFit& photo, const ExpectedBlock& block) {
  const double dpi = std::min(page.placement.scale, kMaxRegionDpi);
  if (!page.placement.photo) {
    return {page.placement, dpi, dpi, dpi};
  }
  BlockView view{BlockPlacement(page.placement, photo, block), 0, 0, 0};
  const verify::Point middle = verify::Centre(block.box);
  view.across = verify::DotsPerInchAcross(view.placement.homography, middle);
  view.along = verify::DotsPerInchDown(view.placement.homography, middle);
  view.dpi = std::min(std::max(view.across, view.along), kMaxRegionDpi);
  return view;
}

// The level under which a dot of the region is ink: the page's for a scan, the region's own
// for a photo, whose light changes across the sheet.
int LevelIn(const Region& region, const Placement& placement, int pageLevel) {
  return placement.photo ? LocalInkLevel(region) : pageLevel;
}

// What a glyph run's region holds, cut out over `run`.
void Judged(const GreyPicture& picture, const BlockView& view, const ExpectedBlock& block,
            int pageLevel, const Box& run, verify::RegionFinding& finding) {
  // Glyph runs are sampled kColumnsPerCell columns a character, over the glyphs' height.
  const double cell = run.width / std::max<std::size_t>(1, block.data.size());
  const Region region = CutOut(picture, view.placement, run, verify::kColumnsPerCell / cell);
  const int level = LevelIn(CutOut(picture, view.placement, Widened(run, 0.1, 0.1, 0.1), 100),
                            view.placement, pageLevel);
  finding.ink = InkShare(region, level);
  finding.columns = ColumnShares(region, level);
}

double Match(const ExpectedBlock& block, const verify::RegionFinding& finding) {
  return verify::ProfileMatch(verify::ExpectedColumns(block.font, block.data), finding.columns,
                              verify::kGlyphShift);
}

}  // namespace

void ExamineBlocks(const GreyPicture& picture, const ExpectedPage& expected, bool measureProfiles,
                   int interleavedDigits, const PhotoFit& photo, PageFindings& page) {
  const int pageLevel = InkLevel(picture);
  for (const ExpectedBlock& block : expected.blocks) {
    verify::RegionFinding finding;
    finding.block = block.number;
    const BlockView view = ViewOf(page, photo, block);
    if (block.glyphs) {
      Judged(picture, view, block, pageLevel, block.box, finding);
      // A photo's run is also cut out between its own ends: the fit's error, over a long run,
      // can shift its last glyphs past what the profile allows. The closer match counts.
      if (view.placement.photo) {
        verify::RegionFinding own = finding;
        Judged(picture, view, block, pageLevel, PrintedRun(picture, view.placement, block.box),
               own);
        finding = Match(block, own) > Match(block, finding) ? own : finding;
      }
      page.regions.push_back(finding);
      continue;
    }
    const Region region =
        CutOut(picture, view.placement, Widened(block.box, 0.05, 0.02, 0.02), view.dpi);
    const int inkLevel = LevelIn(region, view.placement, pageLevel);
    finding.ink = InkShare(region, inkLevel);
    if (view.placement.photo) {
      // A photo is placed less closely than a scan: the ink that tells an unreadable block from
      // a blank one is taken inside its box, clear of the text lines beside it.
      const Region inside = CutOut(picture, view.placement,
                                   Widened(block.box, 0, -kPhotoInset, -kPhotoInset), view.dpi);
      finding.ink = InkShare(inside, inkLevel);
    }
    const bool locally =
        SymbolIn(page, block.number) == nullptr && finding.ink > 0 &&
        ReadRegionAgain(region, inkLevel, block, interleavedDigits, view.placement, page);
    page.regions.push_back(finding);
    if (FoundSymbol* symbol = SymbolIn(page, block.number)) {
      const Region bars = CutOut(picture, view.placement, MeasureBox(block, *symbol), view.dpi);
      const int barsLevel = LevelIn(bars, view.placement, pageLevel);
      const Region cleaned{locally ? CleanedLocally(bars, kSpeckInches) : GreyPicture(), bars.box,
                           bars.pixelsPerInch};
      MeasureBars(locally ? cleaned : bars, locally ? kCleanInk : barsLevel, symbol->symbology,
                  block.inkInches, view.placement.photo, symbol->heightInches,
                  symbol->moduleInches);
      symbol->dotsAcross = std::min(view.across, view.dpi);
      symbol->dotsAlong = std::min(view.along, view.dpi);
      symbol->scaleError = view.placement.photo ? view.placement.scaleError : 0;
      if (measureProfiles && !view.placement.photo) {
        symbol->profiles = ScanLines(bars, barsLevel, kScanLines, symbol->data,
                                     static_cast<int>(symbol->data.size()));
      }
    }
  }
}

}  // namespace quorvel::scan
