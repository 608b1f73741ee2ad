// A scan page is placed on a sheet from the symbols both share: each decoded symbol whose
// symbology and data one block of the page holds ties the middle of that block to the middle of
// the symbol on the picture. Two or more such ties give scale, turn and offset.

#include "scan/scan_analysis.h"

#include <algorithm>
#include <cmath>

#include "scan/block_examination.h"
#include "scan/paper_outline.h"
#include "scan/photo_placement.h"
#include "scan/region_clean.h"
#include "scan/region_measure.h"
#include "scan/symbol_finder.h"
#include "verify/expected_blocks.h"
#include "verify/glyph_profile.h"
#include "verify/placement.h"
#include "verify/verdicts.h"

namespace quorvel::scan {
namespace {

using verify::Anchor;
using verify::Box;
using verify::ExpectedBlock;
using verify::ExpectedPage;
using verify::FoundSymbol;
using verify::PageFindings;
using verify::Placement;

constexpr double kMaxMissInches = 0.4;  // an anchor further off than this is not trusted
constexpr double kStrayInches = 0.1;    // one this far off, where the rest agree, is left out
constexpr double kScannerScale = 0.03;  // a scan is at the resolution it states, within this

// Speckle reads as 2 of 5 more easily the fewer digits it takes: ask for as many as the
// shortest 2 of 5 symbol the candidates hold.
int InterleavedDigits(const verify::ScanRequest& request) {
  std::size_t digits = 0;
  for (const ExpectedPage& page : request.candidates) {
    for (const ExpectedBlock& block : page.blocks) {
      if (!block.glyphs && block.symbology == sheet::Symbology::kInterleaved2of5) {
        digits = digits == 0 ? block.data.size() : std::min(digits, block.data.size());
      }
    }
  }
  return digits == 0 ? 2 : static_cast<int>(digits);
}

// zbar marks a linear symbol where each scan line that read it ended: at both ends of the symbol
// when lines read it both ways, at one end only when they read it one way. Only a symbol marked at
// both ends has its middle where its outline's is.
bool MarkedAtBothEnds(const FoundSymbol& symbol) {
  if (symbol.outline.empty()) {
    return false;
  }
  const auto [left, right] =
      std::minmax_element(symbol.outline.begin(), symbol.outline.end(),
                          [](const verify::Point& a, const verify::Point& b) { return a.x < b.x; });
  const auto [top, bottom] =
      std::minmax_element(symbol.outline.begin(), symbol.outline.end(),
                          [](const verify::Point& a, const verify::Point& b) { return a.y < b.y; });
  const double wide = right->x - left->x, high = bottom->y - top->y;
  const bool across = symbol.quarterTurns == 1 || symbol.quarterTurns == 3;
  const double along = across ? high : wide, side = across ? wide : high;
  return along >= 10 && along >= side * 0.25;
}

std::vector<Anchor> AnchorsFor(const ExpectedPage& page, const std::vector<FoundSymbol>& found,
                               bool bothEndsOnly, std::vector<int>* turns = nullptr) {
  std::vector<Anchor> anchors;
  for (const ExpectedBlock& block : page.blocks) {
    if (block.glyphs) {
      continue;
    }
    const auto matches = [&block, bothEndsOnly](const FoundSymbol& s) {
      return s.known && s.symbology == block.symbology && s.data == block.data &&
             (!bothEndsOnly || MarkedAtBothEnds(s));
    };
    if (std::count_if(found.begin(), found.end(), matches) != 1) {
      continue;  // a symbol read twice, or not at all, ties nothing down
    }
    const FoundSymbol& symbol = *std::find_if(found.begin(), found.end(), matches);
    anchors.push_back({verify::Centre(block.box), verify::Centre(symbol.outline)});
    if (turns != nullptr) {
      turns->push_back(symbol.quarterTurns);
    }
  }
  return anchors;
}

// The fit to all anchors, or, when one is far off, to the others.
Placement Fit(const std::vector<Anchor>& anchors) {
  Placement placement = verify::FitPlacement(anchors);
  if (!placement.found || verify::LargestMiss(placement, anchors) <= kMaxMissInches ||
      anchors.size() < 3) {
    return verify::WithoutStray(placement, anchors, kStrayInches);
  }
  for (std::size_t skip = 0; skip < anchors.size(); ++skip) {
    std::vector<Anchor> others = anchors;
    others.erase(others.begin() + static_cast<long>(skip));
    const Placement fitted = verify::FitPlacement(others);
    if (fitted.found && verify::LargestMiss(fitted, others) <= kMaxMissInches) {
      return fitted;
    }
  }
  return {};
}

// The scale of a scan that holds the whole sheet: from the resolution its file states, else from
// its size against the paper's.
double SheetScale(const GreyPicture& picture, const ExpectedPage& page) {
  if (picture.dpi > 30) {
    return picture.dpi;
  }
  const double longSide = std::max(picture.width(), picture.height());
  return longSide / std::max(page.paperWidthInches, page.paperHeightInches);
}

// How sharply the blocks' bars stand out where the placement puts them: the spread of their
// column profiles, highest when the columns run along the bars.
double Sharpness(const GreyPicture& picture, int inkLevel, const ExpectedPage& page,
                 const Placement& placement) {
  double sum = 0;
  for (const ExpectedBlock& block : page.blocks) {
    const Region region = CutOut(picture, placement, block.box, 200);
    const std::vector<double> columns = ColumnShares(region, inkLevel);
    double mean = 0, square = 0;
    for (double c : columns) {
      mean += c;
      square += c * c;
    }
    const double n = std::max<double>(1, static_cast<double>(columns.size()));
    sum += square / n - (mean / n) * (mean / n);
  }
  return sum;
}

// A sheet placed by its layout may be askew: the turn, within five degrees, under which the
// blocks' bars run straightest.
void Straighten(const GreyPicture& picture, int inkLevel, const ExpectedPage& page,
                Placement& placement) {
  const verify::Point middle{picture.width() / 2.0, picture.height() / 2.0};
  const verify::Point centre = verify::ToSheet(placement, middle);
  const double upright = placement.rotationDegrees;
  double bestSharpness = Sharpness(picture, inkLevel, page, placement);
  Placement best = placement;
  for (double skew = -5; skew <= 5.01; skew += 0.25) {
    const Placement turned = verify::PlaceAt(centre, middle, placement.scale, upright + skew);
    const double sharpness = Sharpness(picture, inkLevel, page, turned);
    if (sharpness > bestSharpness * 1.02) {  // a turn that hardly sharpens is noise
      bestSharpness = sharpness;
      best = turned;
    }
  }
  best.anchors = 0;
  placement = best;
}

// The share of the page's text lines that have ink where the placement puts them.
double TextInked(const GreyPicture& picture, int inkLevel, const ExpectedPage& page,
                 const Placement& placement) {
  if (page.texts.empty()) {
    return 0;
  }
  int inked = 0;
  for (const Box& text : page.texts) {
    const Region region = CutOut(picture, placement, text, std::min(placement.scale, 150.0));
    inked += InkShare(region, inkLevel) > verify::kInkShare ? 1 : 0;
  }
  return static_cast<double>(inked) / static_cast<double>(page.texts.size());
}

// A scan of the whole sheet with no symbol to go by: the sheet fills the picture, upright or
// upside down (on its side when the picture is wider than high); its text lines decide which.
Placement PlaceByLayout(const GreyPicture& picture, int inkLevel, const ExpectedPage& page,
                        double& inked) {
  const bool onSide = picture.width() > picture.height();
  const double scale = SheetScale(picture, page);
  const verify::Anchor middle{{page.paperWidthInches / 2, page.paperHeightInches / 2},
                              {picture.width() / 2.0, picture.height() / 2.0}};
  Placement best;
  inked = 0;
  for (int turns : onSide ? std::vector<int>{1, 3} : std::vector<int>{0, 2}) {
    Placement placement = verify::PlaceFromOne(middle, scale, turns);
    if (placement.found) {
      Straighten(picture, inkLevel, page, placement);
    }
    const double share = placement.found ? TextInked(picture, inkLevel, page, placement) : 0;
    if (share > inked) {
      inked = share;
      best = placement;
    }
  }
  return best;
}

// Most of the sheet's text lines must be found inked for a scan placed by its layout.
constexpr double kLeastTextInked = 0.8;
// A picture placed by its layout must be mostly bare paper, part by part (PaperShare): a sheet
// scores near 1, a photo of a desk, a wall or a face 0.7 to 0.8, whose dark patches could
// otherwise pass for the sheet's text lines.
constexpr double kLeastPaperShare = 0.85;

// A photo with no symbol to go by: placed by the paper's outline, then by the ends of its lines.
int ChooseByPaper(const GreyPicture& picture, int inkLevel, const verify::ScanRequest& request,
                  Placement& placement) {
  int best = -1;
  int bestHeld = 0;
  for (std::size_t i = 0; i < request.candidates.size(); ++i) {
    for (Placement byPaper : PlacementsByPaper(picture, request.candidates[i])) {
      PhotoFit photo;
      FitPhoto(picture, request.candidates[i], true, byPaper, photo);
      // The sheet whose lines' ends the fit holds to most, among those whose lines have ink.
      const double inked = TextInked(picture, inkLevel, request.candidates[i], byPaper);
      if (inked >= kLeastTextInked && photo.fit.inliers > bestHeld) {
        best = static_cast<int>(i);
        placement = byPaper;
        bestHeld = photo.fit.inliers;
      }
    }
  }
  return best;
}

// The candidate page that fits best, and where it lies; -1 when none does.
// `flat`: the scale, turn and offset the symbols gave, where a first placement in perspective
// took its place (a scan that one symbol printed wider than the sheet's makes look askew).
int ChoosePage(const GreyPicture& picture, const std::vector<FoundSymbol>& found,
               const verify::ScanRequest& request, Placement& placement, Placement& flat) {
  int best = -1;
  for (std::size_t i = 0; i < request.candidates.size(); ++i) {
    std::vector<int> turns;
    std::vector<Anchor> anchors = AnchorsFor(request.candidates[i], found, true, &turns);
    if (anchors.size() < 2) {
      turns.clear();
      anchors = AnchorsFor(request.candidates[i], found, false, &turns);
    }
    Placement fitted = Fit(anchors);
    const Placement scaleAndTurn = fitted;
    // A photo in perspective: the symbols' middles and ends, where a turn and scale miss them.
    if (!fitted.found || verify::LargestMiss(fitted, anchors) > kStrayInches) {
      const Placement inPerspective = PerspectiveFromSymbols(request.candidates[i], found);
      fitted = inPerspective.found ? inPerspective : fitted;
    }
    if (!fitted.found && anchors.size() == 1 && turns[0] >= 0) {
      fitted =
          verify::PlaceFromOne(anchors[0], SheetScale(picture, request.candidates[i]), turns[0]);
    }
    if (fitted.found && (best < 0 || fitted.anchors > placement.anchors)) {
      best = static_cast<int>(i);
      placement = fitted;
      flat = scaleAndTurn;
    }
  }
  if (best >= 0) {
    return best;
  }
  const int inkLevel = InkLevel(picture);
  best = ChooseByPaper(picture, inkLevel, request, placement);
  if (best >= 0) {
    return best;
  }
  if (PaperShare(picture) < kLeastPaperShare) {
    return -1;  // no symbol, no paper outline, and not mostly paper: a picture of something else
  }
  double bestInked = 0;
  for (std::size_t i = 0; i < request.candidates.size(); ++i) {
    double inked = 0;
    const Placement byLayout = PlaceByLayout(picture, inkLevel, request.candidates[i], inked);
    if (byLayout.found && inked >= kLeastTextInked && inked > bestInked) {
      best = static_cast<int>(i);
      placement = byLayout;
      bestInked = inked;
    }
  }
  return best;
}

}  // namespace

PageFindings AnalysePage(const GreyPicture& picture, int index,
                         const verify::ScanRequest& request) {
  PageFindings page;
  page.page = index;
  page.widthPixels = picture.width();
  page.heightPixels = picture.height();
  page.dpi = picture.dpi;
  const int interleavedDigits = InterleavedDigits(request);
  page.symbols = FindSymbols(picture, interleavedDigits);
  Placement flat;
  page.expected = ChoosePage(picture, page.symbols, request, page.placement, flat);
  if (page.expected < 0) {
    return page;
  }
  const ExpectedPage& expected = request.candidates[static_cast<std::size_t>(page.expected)];
  // A picture in perspective is a photo, placed again by its symbols' corners and its lines'
  // ends; a scan keeps the placement its symbols or its layout gave.
  PhotoFit photo;
  // A scanner states its resolution and holds to it (a phone states 72 dpi): such a picture is
  // a scan, whatever dirt or grey paper make of its outline.
  if (!page.placement.perspective) {
    flat = page.placement;
  }
  const bool scanned =
      flat.found && picture.dpi > 100 && std::abs(flat.scale / picture.dpi - 1) < kScannerScale;
  const bool onDesk = !PlacementsByPaper(picture, expected).empty();
  if ((scanned || !FitPhoto(picture, expected, onDesk, page.placement, photo)) && flat.found) {
    page.placement = flat;
  }
  for (FoundSymbol& symbol : page.symbols) {
    symbol.box = verify::SheetBox(page.placement, symbol.outline);
    symbol.block = verify::BlockAt(expected, symbol.box);
  }
  ExamineBlocks(picture, expected, request.measureProfiles, interleavedDigits, photo, page);
  return page;
}

}  // namespace quorvel::scan
