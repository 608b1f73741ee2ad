#include "scan/region_measure.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "scan/region_clean.h"
#include "scan/symbol_finder.h"
#include "verify/expected_blocks.h"
#include "verify/placement.h"

namespace quorvel::scan {
namespace {

// A row crosses the same bars as the middle one when it shares this much of its ink.
constexpr double kSameBars = 0.8;
// Rows in a row that may disagree with the middle one before the bars are taken to end.
constexpr int kNoisyRows = 3;
// A row shares at least this much of the middle row's ink while it still crosses the bars.
constexpr double kStillBars = 0.5;
// Rows a symbol's module is measured along.
constexpr int kModuleRows = 5;

bool Dark(const GreyPicture& grey, int x, int y, int level) {
  return grey.at(x, y) < level;
}

// The inked columns of one row: from its first dark dot to its last.
bool InkedSpan(const GreyPicture& grey, int y, int level, int& first, int& last) {
  first = -1;
  last = -1;
  for (int x = 0; x < grey.width(); ++x) {
    if (Dark(grey, x, y, level)) {
      first = first < 0 ? x : first;
      last = x;
    }
  }
  return first >= 0;
}

// The share of row `middle`'s dark dots that row `y` has dark too, a dot either side allowed:
// near 1 where a row crosses the same bars, low over text, guard bars alone or paper.
double Agreement(const GreyPicture& grey, int y, int middle, int first, int last, int level) {
  int dark = 0, shared = 0;
  for (int x = first; x <= last; ++x) {
    if (!Dark(grey, x, middle, level)) {
      continue;
    }
    ++dark;
    const bool near = Dark(grey, x, y, level) || (x > 0 && Dark(grey, x - 1, y, level)) ||
                      (x + 1 < grey.width() && Dark(grey, x + 1, y, level));
    shared += near ? 1 : 0;
  }
  return dark > 0 ? static_cast<double>(shared) / dark : 0;
}

// The bars along row `y` between its first and last dark dot, each from where the row falls
// through the ink level to where it rises again: an edge lies between two dots, placed by their
// grey levels (a scaled or blurred scan has grey dots on its edges). `span` is from the first
// bar's left edge to the last one's right edge, in dots.
std::vector<double> BarWidths(const GreyPicture& grey, int y, int first, int last, int level,
                              double& span) {
  const std::uint8_t* row = grey.row(y);
  // Where the row crosses the level between dot x - 1 and dot x (their middles x - 0.5, x + 0.5).
  const auto edge = [row, level](int x) {
    if (x <= 0) {
      return 0.0;
    }
    const double a = row[x - 1], b = row[x];
    return a == b ? x : x - 0.5 + (a - level) / (a - b);
  };
  std::vector<double> widths;
  double start = 0, firstEdge = 0, lastEdge = 0;
  for (int x = first; x <= last + 1; ++x) {
    const bool dark = x <= last && Dark(grey, x, y, level);
    const bool wasDark = x > first && Dark(grey, x - 1, y, level);
    if (dark && !wasDark) {
      start = edge(x);
      firstEdge = widths.empty() ? start : firstEdge;
    } else if (!dark && wasDark) {
      lastEdge = x < grey.width() ? edge(x) : x;
      widths.push_back(lastEdge - start);
    }
  }
  span = widths.empty() ? 0 : lastEdge - firstEdge;
  return widths;
}

}  // namespace

Region CutOut(const GreyPicture& picture, const verify::Placement& placement,
              const verify::Box& box, double pixelsPerInch) {
  Region region{{}, box, pixelsPerInch};
  const int width = std::max(1, static_cast<int>(box.width * pixelsPerInch));
  const int height = std::max(1, static_cast<int>(box.height * pixelsPerInch));
  region.grey = GreyPicture(width, height);
  if (region.grey.empty()) {
    return region;
  }
  // The placement is affine: each dot's place on the picture is the first dot's plus whole steps
  // across and down, so the turn's sine and cosine are taken once, not once a dot.
  const verify::Point zero = verify::ToPicture(placement, {0, 0});
  const verify::Point across = verify::ToPicture(placement, {1 / pixelsPerInch, 0});
  const verify::Point down = verify::ToPicture(placement, {0, 1 / pixelsPerInch});
  const double acrossX = across.x - zero.x, acrossY = across.y - zero.y;
  const double downX = down.x - zero.x, downY = down.y - zero.y;
  const verify::Point first =
      verify::ToPicture(placement, {box.left + 0.5 / pixelsPerInch, box.top + 0.5 / pixelsPerInch});
  const std::uint8_t* bits = picture.data();
  const long stride = picture.width();
  const int pictureWidth = picture.width(), pictureHeight = picture.height();
  for (int v = 0; v < height; ++v) {
    std::uint8_t* row = region.grey.row(v);
    for (int u = 0; u < width; ++u) {
      // In perspective the steps change across the region: each dot is placed on its own.
      const verify::Point at =
          placement.perspective
              ? verify::ToPicture(placement, {box.left + (u + 0.5) / pixelsPerInch,
                                              box.top + (v + 0.5) / pixelsPerInch})
              : verify::Point{first.x + u * acrossX + v * downX, first.y + u * acrossY + v * downY};
      const double atX = at.x, atY = at.y;
      const int x = static_cast<int>(std::floor(atX)), y = static_cast<int>(std::floor(atY));
      const bool inside = x >= 0 && y >= 0 && x < pictureWidth && y < pictureHeight;
      row[u] = inside ? bits[y * stride + x] : 255;
    }
  }
  return region;
}

int InkLevel(const GreyPicture& picture) {
  // The paper's level: the brightest of most dots (a sheet is mostly paper); black is 0.
  std::vector<int> histogram(256, 0);
  long long count = 0;
  const int step = std::max(1, picture.height() / 400);
  for (int y = 0; y < picture.height(); y += step) {
    const std::uint8_t* row = picture.row(y);
    for (int x = 0; x < picture.width(); x += step) {
      ++histogram[row[x]];
      ++count;
    }
  }
  long long seen = 0;
  int paper = 255;
  for (int level = 0; level < 256; ++level) {
    seen += histogram[static_cast<std::size_t>(level)];
    if (seen * 2 >= count) {  // the median dot is paper
      paper = level;
      break;
    }
  }
  return std::max(1, paper / 2);
}

double InkShare(const Region& region, int inkLevel) {
  const GreyPicture& grey = region.grey;
  long long dark = 0;
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      dark += Dark(grey, x, y, inkLevel) ? 1 : 0;
    }
  }
  const long long all = static_cast<long long>(grey.width()) * grey.height();
  return all > 0 ? static_cast<double>(dark) / static_cast<double>(all) : 0;
}

std::vector<double> ColumnShares(const Region& region, int inkLevel) {
  const GreyPicture& grey = region.grey;
  std::vector<double> shares(static_cast<std::size_t>(grey.width()), 0.0);
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      shares[static_cast<std::size_t>(x)] += Dark(grey, x, y, inkLevel) ? 1 : 0;
    }
  }
  for (double& share : shares) {
    share /= std::max(1, grey.height());
  }
  return shares;
}

GreyPicture Cleaned(const Region& region, int inkLevel) {
  const int margin = CleanMargin(region);
  GreyPicture clean(region.grey.width() + 2 * margin, region.grey.height() + 2 * margin);
  clean.Fill(255);
  for (int y = 0; y < clean.height() - 2 * margin; ++y) {
    std::uint8_t* row = clean.row(y + margin) + margin;
    for (int x = 0; x < region.grey.width(); ++x) {
      row[x] = Dark(region.grey, x, y, inkLevel) ? 0 : 255;
    }
  }
  return clean;
}

namespace {

// The rows the bars span and the columns from the first bar to the last; false when the
// region's middle row crosses no bars.
bool BarRows(const GreyPicture& grey, int inkLevel, int& top, int& bottom, int& first, int& last) {
  // The row the bars cross for sure: a third of the way down the symbol's region.
  const int middle = grey.height() / 3;
  if (grey.empty() || !InkedSpan(grey, middle, inkLevel, first, last) || last - first < 4) {
    return false;
  }
  // Each row is compared with the last one taken, so that bars a photo shows slightly slanted
  // are followed to their ends, and with the middle one more loosely, so that they are not
  // followed into the text below; a row that noise or a speck spoils does not end them: one of the
  // next few still agrees.
  const auto next = [&](int from, int step) {
    for (int y = from + step, tried = 0; tried < kNoisyRows && y >= 0 && y < grey.height();
         y += step, ++tried) {
      if (Agreement(grey, y, from, first, last, inkLevel) > kSameBars &&
          Agreement(grey, y, middle, first, last, inkLevel) > kStillBars) {
        return y;
      }
    }
    return from;
  };
  top = middle;
  bottom = middle;
  for (int y = next(top, -1); y != top; y = next(top, -1)) {
    top = y;
  }
  for (int y = next(bottom, 1); y != bottom; y = next(bottom, 1)) {
    bottom = y;
  }
  return true;
}

// Dots down (`step` 1) or up (-1) from row `y` that the bar through column `x` stays dark,
// followed a dot aside where it slants.
int FollowBar(const GreyPicture& grey, const std::vector<int>& levels, int x, int y, int step) {
  int length = 0;
  for (y += step; y >= 0 && y < grey.height(); y += step, ++length) {
    const int level = levels[static_cast<std::size_t>(y)];
    if (Dark(grey, x, y, level)) {
      continue;
    }
    if (x > 0 && Dark(grey, x - 1, y, level)) {
      --x;
    } else if (x + 1 < grey.width() && Dark(grey, x + 1, y, level)) {
      ++x;
    } else {
      break;
    }
  }
  return length;
}

// The bars' height, each bar followed from the middle row up and down, the median of them: a
// bar the photo shows slanted or bowed is followed to its ends, a guard bar or a gap in one bar
// does not decide it.
int FollowedHeight(const GreyPicture& grey, int middle, int first, int last) {
  // Each row's own level, half way between its darkest and brightest dot across the bars: a
  // shadow across the bars darkens paper and bars alike. A row with no such spread has no ink.
  std::vector<int> levels(static_cast<std::size_t>(grey.height()), 0);
  for (int y = 0; y < grey.height(); ++y) {
    const std::uint8_t* row = grey.row(y);
    const auto [dark, light] = std::minmax_element(row + first, row + last + 1);
    levels[static_cast<std::size_t>(y)] = *light - *dark < 40 ? 0 : (*dark + *light) / 2;
  }
  const int level = levels[static_cast<std::size_t>(middle)];
  std::vector<int> heights;
  for (int x = first; x <= last; ++x) {
    if (!Dark(grey, x, middle, level) || (x > first && Dark(grey, x - 1, middle, level))) {
      continue;
    }
    int end = x;
    while (end < last && Dark(grey, end + 1, middle, level)) {
      ++end;
    }
    const int centre = (x + end) / 2;
    heights.push_back(1 + FollowBar(grey, levels, centre, middle, -1) +
                      FollowBar(grey, levels, centre, middle, 1));
  }
  if (heights.empty()) {
    return 0;
  }
  std::nth_element(heights.begin(), heights.begin() + static_cast<long>(heights.size() / 2),
                   heights.end());
  return heights[heights.size() / 2];
}

}  // namespace

void MeasureBars(const Region& region, int inkLevel, sheet::Symbology symbology, double inkInches,
                 bool followBars, double& heightInches, double& moduleInches) {
  heightInches = 0;
  moduleInches = 0;
  const GreyPicture& grey = region.grey;
  int top = 0, bottom = 0, first = 0, last = 0;
  if (!BarRows(grey, inkLevel, top, bottom, first, last)) {
    return;
  }
  heightInches = (bottom - top + 1) / region.pixelsPerInch;
  if (followBars) {
    heightInches = FollowedHeight(grey, grey.height() / 3, first, last) / region.pixelsPerInch;
  }
  // Along rows through the middle three fifths of the bars, the median module: a speck or a
  // gap on one row does not decide it.
  std::vector<double> modules;
  for (int i = 0; i < kModuleRows; ++i) {
    const int y = top + (bottom - top) / 5 + (bottom - top) * 3 * i / (5 * (kModuleRows - 1));
    int rowFirst = 0, rowLast = 0;
    if (!InkedSpan(grey, y, inkLevel, rowFirst, rowLast)) {
      continue;
    }
    double span = 0;
    const std::vector<double> bars = BarWidths(grey, y, rowFirst, rowLast, inkLevel, span);
    const double module =
        verify::MeasuredModule(bars, span, region.pixelsPerInch, symbology, inkInches);
    if (module > 0) {
      modules.push_back(module);
    }
  }
  if (!modules.empty()) {
    std::nth_element(modules.begin(), modules.begin() + static_cast<long>(modules.size() / 2),
                     modules.end());
    moduleInches = modules[modules.size() / 2];
  }
}

std::vector<verify::Profile> ScanLines(const Region& region, int inkLevel, int count,
                                       const std::string& data, int interleavedDigits) {
  std::vector<verify::Profile> lines;
  const GreyPicture& grey = region.grey;
  int top = 0, bottom = 0, first = 0, last = 0;
  if (!BarRows(grey, inkLevel, top, bottom, first, last) || bottom - top < 2) {
    return lines;
  }
  for (int i = 0; i < count; ++i) {
    const int y =
        top + (bottom - top) / 10 + (bottom - top) * 8 * i / (10 * std::max(1, count - 1));
    verify::Profile profile;
    const std::uint8_t* row = grey.row(y);
    for (int x = 0; x < grey.width(); ++x) {
      profile.samples.push_back(row[x] / 255.0);
    }
    // The line alone, a few rows of it, with a quiet zone the decoder can find.
    GreyPicture strip(grey.width(), 4);
    for (int r = 0; r < strip.height(); ++r) {
      std::memcpy(strip.row(r), row, static_cast<std::size_t>(grey.width()));
    }
    for (const verify::FoundSymbol& read : FindSymbols(strip, interleavedDigits)) {
      profile.decodes = profile.decodes || read.data == data;
    }
    lines.push_back(std::move(profile));
  }
  return lines;
}

}  // namespace quorvel::scan
