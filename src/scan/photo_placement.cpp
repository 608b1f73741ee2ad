#include "scan/photo_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "scan/region_measure.h"
#include "verify/placement.h"

namespace quorvel::scan {
namespace {

using verify::Anchor;
using verify::Box;
using verify::ExpectedBlock;
using verify::ExpectedPage;
using verify::Placement;
using verify::Point;

// The dots of row `y`.
const std::uint8_t* RowOf(const Picture& picture, int y) {
  return picture.row(y);
}

constexpr double kAgreeInches = 0.04;       // a corner further off the fit than this is left out
constexpr double kFirstAgreeInches = 0.2;   // the symbols' middles and ends, as zbar marks them
constexpr double kPerspective = 0.01;       // scale changing more than this: a photo
constexpr double kFlatMiss = 0.1;           // a flat placement missing the points by more: a photo
constexpr double kReachInches = 2;          // how far a block's own fit looks around it
constexpr double kMeasureDpi = 300;         // regions measured at the photo's dots, at most this
constexpr std::size_t kEnoughCorners = 12;  // three symbols' corners place a page alone
constexpr double kLineEndReach = 0.05;      // a line's end is looked for this far past where it is

}  // namespace

Placement PlacementOf(const verify::Homography& matrix, const ExpectedPage& page) {
  Placement placement;
  placement.found = true;
  placement.perspective = true;
  placement.homography = matrix;
  const Point middle{page.paperWidthInches / 2, page.paperHeightInches / 2};
  placement.scale = verify::DotsPerInchAcross(matrix, middle);
  const Point a = verify::Apply(matrix, middle);
  const Point b = verify::Apply(matrix, {middle.x + 1, middle.y});
  placement.rotationDegrees = std::atan2(b.y - a.y, b.x - a.x) * 180 / std::numbers::pi;
  placement.offset = verify::Apply(matrix, {0, 0});
  return placement;
}

int LocalInkLevel(const Region& region) {
  std::vector<int> histogram(256, 0);
  for (int y = 0; y < region.grey.height(); ++y) {
    for (int x = 0; x < region.grey.width(); ++x) {
      ++histogram[RowOf(region.grey, y)[x]];
    }
  }
  const long long count = static_cast<long long>(region.grey.width()) * region.grey.height();
  long long seen = 0;
  int dark = -1, light = 255;
  for (int level = 0; level < 256; ++level) {
    seen += histogram[static_cast<std::size_t>(level)];
    if (dark < 0 && seen * 20 >= count) {
      dark = level;
    }
    if (seen * 20 >= count * 19) {
      light = level;
      break;
    }
  }
  // Paper alone (no ink to speak of) has no level: nothing there is ink.
  return light - dark < 40 ? 0 : (dark + light) / 2;
}

namespace {

int DarkIn(const Region& region, int level, int y, int from, int to) {
  int dark = 0;
  const std::uint8_t* row = RowOf(region.grey, y);
  for (int x = std::max(0, from); x <= std::min(region.grey.width() - 1, to); ++x) {
    dark += row[x] < level ? 1 : 0;
  }
  return dark;
}

// The first and last column of row `y` with ink.
bool RowSpan(const Region& region, int level, int y, int& first, int& last) {
  first = -1;
  const std::uint8_t* row = RowOf(region.grey, y);
  for (int x = 0; x < region.grey.width(); ++x) {
    if (row[x] < level) {
      first = first < 0 ? x : first;
      last = x;
    }
  }
  return first >= 0;
}

Point PictureOf(const Placement& placement, const Region& region, double x, double y) {
  return verify::ToPicture(placement, {region.box.left + x / region.pixelsPerInch,
                                       region.box.top + y / region.pixelsPerInch});
}

double MeasureDpi(const Placement& placement, const Box& box) {
  const Point middle{box.left + box.width / 2, box.top + box.height / 2};
  const double dpi = placement.perspective ? verify::DotsPerInchAcross(placement.homography, middle)
                                           : placement.scale;
  return std::clamp(dpi, 50.0, kMeasureDpi);
}

// Where the bar columns among [from, to] that have ink in row `middle` end, up and down: each
// column followed while its ink has gaps of no more than a dot (noise), the median over the
// columns (a longer guard bar is one among several). `x` is the columns' mean.
bool BarEnds(const Region& region, int level, int middle, int from, int to, double& x, double& top,
             double& foot) {
  const auto ink = [&](int y, int c) { return RowOf(region.grey, y)[c] < level; };
  const auto end = [&](int c, int step) {
    int last = middle;
    for (int y = middle + step, gap = 0; y >= 0 && y < region.grey.height() && gap < 2; y += step) {
      last = ink(y, c) ? y : last;
      gap = ink(y, c) ? 0 : gap + 1;
    }
    return last;
  };
  std::vector<int> tops, foots;
  double sum = 0;
  for (int c = std::max(0, from); c <= std::min(region.grey.width() - 1, to); ++c) {
    if (ink(middle, c)) {
      tops.push_back(end(c, -1));
      foots.push_back(end(c, 1) + 1);
      sum += c;
    }
  }
  if (tops.size() < 2) {
    return false;
  }
  const auto median = [](std::vector<int>& v) {
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return static_cast<double>(v[v.size() / 2]);
  };
  x = sum / static_cast<double>(tops.size());
  top = median(tops);
  foot = median(foots);
  return true;
}

// The four corners of a block's bars: the columns the middle row's ink spans, and at each end
// the top and foot of the bars there, so that bars whose top runs askew on the picture (a page
// still turned or bowed against the placement) give each corner its own.
void SymbolCorners(const Picture& picture, const Placement& placement, const ExpectedBlock& block,
                   PhotoFit& photo) {
  const Box& b = block.box;
  const Box around{b.left - 0.15, b.top - 0.12, b.width + 0.3, b.height + 0.24};
  const Region region = CutOut(picture, placement, around, MeasureDpi(placement, b));
  const int level = LocalInkLevel(region);
  const int middle = static_cast<int>((0.12 + b.height / 2) * region.pixelsPerInch);
  int first = 0, last = 0;
  if (level == 0 || middle >= region.grey.height() ||
      !RowSpan(region, level, middle, first, last) || last - first < 10) {
    return;
  }
  const int quarter = std::max(3, (last - first) / 4);
  double xl = 0, tl = 0, ul = 0, xr = 0, tr = 0, ur = 0;
  if (!BarEnds(region, level, middle, first, first + quarter, xl, tl, ul) ||
      !BarEnds(region, level, middle, last - quarter, last, xr, tr, ur) || xr - xl < 5) {
    return;
  }
  const double l = first, r = last + 1;
  const auto at = [&](double from, double to, double x) {
    return from + (to - from) * (x - xl) / (xr - xl);
  };
  if (at(ul, ur, l) - at(tl, tr, l) < 4 || at(ul, ur, r) - at(tl, tr, r) < 4) {
    return;
  }
  const double right = b.left + b.width, foot = b.top + block.heightInches;
  for (const auto& [sheet, x, y] : {std::tuple{Point{b.left, b.top}, l, at(tl, tr, l)},
                                    {Point{right, b.top}, r, at(tl, tr, r)},
                                    {Point{b.left, foot}, l, at(ul, ur, l)},
                                    {Point{right, foot}, r, at(ul, ur, r)}}) {
    photo.anchors.push_back({sheet, PictureOf(placement, region, x, y)});
    photo.blockOf.push_back(block.number);
  }
}

// The rows of a printed line's letters: from the row with most ink, up and down while a row
// keeps a third of that; the last is the baseline (descenders carry far less ink).
bool LetterRows(const Region& region, int level, int& top, int& base) {
  const int width = region.grey.width(), height = region.grey.height();
  std::vector<int> rows(static_cast<std::size_t>(height), 0);
  int peak = 0;
  for (int y = 0; y < height; ++y) {
    rows[static_cast<std::size_t>(y)] = DarkIn(region, level, y, 0, width - 1);
    peak = rows[static_cast<std::size_t>(y)] > rows[static_cast<std::size_t>(peak)] ? y : peak;
  }
  const int least = rows[static_cast<std::size_t>(peak)] / 3;
  top = peak;
  base = peak;
  while (top > 0 && rows[static_cast<std::size_t>(top - 1)] >= least) {
    --top;
  }
  while (base + 1 < height && rows[static_cast<std::size_t>(base + 1)] >= least) {
    ++base;
  }
  return least > 0 && base > top;
}

// Both ends of a printed line on the picture, on its baseline: the first and last columns with
// ink among its letters' rows.
bool InkedEnds(const Picture& picture, const Placement& placement, const Box& line, Point& left,
               Point& right) {
  const Box around{line.left - 0.1, line.top - 0.04, line.width + 0.2, line.height + 0.08};
  const Region region = CutOut(picture, placement, around, MeasureDpi(placement, line));
  const int level = LocalInkLevel(region);
  int top = 0, base = 0;
  if (level == 0 || !LetterRows(region, level, top, base)) {
    return false;
  }
  const int width = region.grey.width();
  std::vector<int> columns(static_cast<std::size_t>(width), 0);
  for (int y = top; y <= base; ++y) {
    const std::uint8_t* row = RowOf(region.grey, y);
    for (int x = 0; x < width; ++x) {
      columns[static_cast<std::size_t>(x)] += row[x] < level ? 1 : 0;
    }
  }
  // A column with ink in two dots or more (a speck of dirt has fewer), within a little of where
  // the line should start and end: what follows on the same line (small print) is not its end.
  const auto inked = [](int c) { return c >= 2; };
  // The region reaches 0.1 in past each end; the search, kLineEndReach.
  const auto skip = static_cast<long>((0.1 - kLineEndReach) * region.pixelsPerInch);
  const auto first = std::find_if(columns.begin() + skip, columns.end(), inked);
  const auto last = std::find_if(columns.rbegin() + skip, columns.rend(), inked);
  if (first == columns.end() || last == columns.rend()) {
    return false;
  }
  const double l = static_cast<double>(first - columns.begin());
  const double r = static_cast<double>(width - (last - columns.rbegin()));
  if ((r - l) / region.pixelsPerInch < line.width * 0.6) {
    return false;  // not the whole line: nothing to tie its ends to
  }
  left = PictureOf(placement, region, l, base + 1);
  right = PictureOf(placement, region, r, base + 1);
  return true;
}

void LineEnds(const Picture& picture, const Placement& placement, const Box& line,
              PhotoFit& photo) {
  Point left, right;
  if (InkedEnds(picture, placement, line, left, right)) {
    const double baseline = line.top + line.height;
    photo.anchors.push_back({{line.left, baseline}, left});
    photo.anchors.push_back({{line.left + line.width, baseline}, right});
    photo.blockOf.insert(photo.blockOf.end(), 2, 0);
  }
}

// How far, root mean square, the best scale, turn and offset misses the points the fit holds to.
double FlatMiss(const PhotoFit& photo) {
  std::vector<Anchor> held;
  for (std::size_t i = 0; i < photo.anchors.size(); ++i) {
    if (photo.fit.inlier[i]) {
      held.push_back(photo.anchors[i]);
    }
  }
  const Placement flat = verify::FitPlacement(held);
  if (!flat.found) {
    return 0;
  }
  double sum = 0;
  for (const Anchor& a : held) {
    const Point back = verify::ToSheet(flat, a.picture);
    sum += std::pow(back.x - a.sheet.x, 2) + std::pow(back.y - a.sheet.y, 2);
  }
  return std::sqrt(sum / static_cast<double>(held.size()));
}

}  // namespace

Box PrintedRun(const Picture& picture, const Placement& placement, const Box& box) {
  Point left, right;
  if (!InkedEnds(picture, placement, box, left, right)) {
    return box;
  }
  const double from = verify::ToSheet(placement, left).x, to = verify::ToSheet(placement, right).x;
  return std::abs(to - from - box.width) < box.width * 0.1
             ? Box{from, box.top, to - from, box.height}
             : box;
}

Placement PerspectiveFromSymbols(const ExpectedPage& page,
                                 const std::vector<verify::FoundSymbol>& symbols) {
  std::vector<Anchor> anchors;
  int tied = 0;
  for (const ExpectedBlock& block : page.blocks) {
    const auto matches = [&block](const verify::FoundSymbol& s) {
      return !block.glyphs && s.known && s.symbology == block.symbology && s.data == block.data &&
             s.outline.size() >= 2 && (s.quarterTurns == 0 || s.quarterTurns == 2);
    };
    if (std::count_if(symbols.begin(), symbols.end(), matches) != 1) {
      continue;
    }
    const verify::FoundSymbol& s = *std::find_if(symbols.begin(), symbols.end(), matches);
    // zbar marks where its scan lines read the symbol to: the points at either end along them.
    const auto [left, right] = std::minmax_element(s.outline.begin(), s.outline.end(),
                                                   [](Point a, Point b) { return a.x < b.x; });
    const double mid = block.box.top + block.heightInches / 2;
    anchors.push_back({verify::Centre(block.box), verify::Centre(s.outline)});
    anchors.push_back({{block.box.left, mid}, *left});
    anchors.push_back({{block.box.left + block.box.width, mid}, *right});
    ++tied;
  }
  if (tied < 3) {
    return {};
  }
  const verify::HomographyFit fit = verify::RobustHomography(anchors, kFirstAgreeInches);
  if (!fit.found) {
    return {};
  }
  Placement placement = PlacementOf(fit.matrix, page);
  placement.anchors = tied;
  return placement;
}

bool FitPhoto(const Picture& picture, const ExpectedPage& page, bool onDesk, Placement& placement,
              PhotoFit& photo) {
  Placement current = placement;
  for (int round = 0; round < 3; ++round) {
    photo = {};
    for (const ExpectedBlock& block : page.blocks) {
      if (!block.glyphs) {
        SymbolCorners(picture, current, block, photo);
      }
    }
    // Lines are set in the printer's own font, whose width per character may be off the
    // sheet's pitch, and a line's height is found less sharply than a bar's: they carry the fit
    // only where too few symbols do (the PCL sheet).
    if (photo.anchors.size() < kEnoughCorners) {
      for (const Box& line : page.texts) {
        LineEnds(picture, current, line, photo);
      }
      for (const ExpectedBlock& block : page.blocks) {
        if (block.glyphs) {
          LineEnds(picture, current, block.box, photo);
        }
      }
    }
    photo.fit = verify::RobustHomography(photo.anchors, round == 0 ? 0.1 : kAgreeInches);
    if (!photo.fit.found) {
      return false;
    }
    current = PlacementOf(photo.fit.matrix, page);
  }
  // A photo: the page seen in perspective, and the perspective fits the points clearly better
  // than the best scale, turn and offset does; a scan's points, the lines' ends above all, would
  // otherwise make a little perspective of their own.
  // A picture that shows the paper's outline on a desk is a photo, however square-on; one the
  // sheet fills is a photo only where the fit is clearly in perspective.
  if (!onDesk && (!verify::InPerspective(photo.fit.matrix, page.paperWidthInches,
                                         page.paperHeightInches, kPerspective) ||
                  FlatMiss(photo) < std::max(kFlatMiss, 2 * photo.fit.errorInches))) {
    return false;
  }
  current.anchors = placement.anchors;
  current.photo = true;
  current.fitAnchors = static_cast<int>(photo.anchors.size());
  current.fitInliers = photo.fit.inliers;
  current.errorInches = photo.fit.errorInches;
  current.scaleError = photo.fit.scaleError;
  placement = current;
  return true;
}

Placement BlockPlacement(const Placement& placement, const PhotoFit& photo,
                         const ExpectedBlock& block) {
  // The points the whole page's fit holds to (a block's own corners among them only where they
  // agree with it, so a symbol printed at another size is not fitted to), weighted by nearness.
  const Point centre = verify::Centre(block.box);
  const verify::HomographyFit local =
      verify::LocalHomography(photo.anchors, photo.fit, centre, kReachInches);
  Placement blockPlacement = placement;
  blockPlacement.homography = local.matrix;
  blockPlacement.errorInches = local.errorInches;
  blockPlacement.scaleError = local.scaleError;
  return blockPlacement;
}

}  // namespace quorvel::scan
