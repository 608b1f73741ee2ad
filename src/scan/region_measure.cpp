#include "scan/region_measure.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "scan/symbol_finder.h"
#include "verify/placement.h"

namespace quorvel::scan {
namespace {

// A row crosses the same bars as the middle one when it shares this much of its ink.
constexpr double kSameBars = 0.8;

bool Dark(const QImage& grey, int x, int y, int level) {
  return grey.constScanLine(y)[x] < level;
}

// The inked columns of one row: from its first dark dot to its last.
bool InkedSpan(const QImage& grey, int y, int level, int& first, int& last) {
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

// The share of the middle row's dark dots that row `y` has dark too, a dot either side allowed:
// near 1 where a row crosses the same bars, low over text, guard bars alone or paper.
double Agreement(const QImage& grey, int y, int middle, int first, int last, int level) {
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

// Runs of dark dots along a row, between its first and last dark dot.
std::vector<int> BarRuns(const QImage& grey, int y, int first, int last, int level) {
  std::vector<int> runs;
  int run = 0;
  for (int x = first; x <= last + 1; ++x) {
    if (x <= last && Dark(grey, x, y, level)) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  return runs;
}

// Narrow bars of a symbology with wide and narrow ones: the mean of the runs nearer the
// narrowest than the widest.
double NarrowMean(const std::vector<int>& runs) {
  const auto [low, high] = std::minmax_element(runs.begin(), runs.end());
  const double split = (*low + *high) / 2.0;
  double sum = 0;
  int count = 0;
  for (int run : runs) {
    if (run <= split) {
      sum += run;
      ++count;
    }
  }
  return count > 0 ? sum / count : 0;
}

}  // namespace

Region CutOut(const QImage& picture, const verify::Placement& placement, const verify::Box& box,
              double pixelsPerInch) {
  Region region{{}, box, pixelsPerInch};
  const int width = std::max(1, static_cast<int>(box.width * pixelsPerInch));
  const int height = std::max(1, static_cast<int>(box.height * pixelsPerInch));
  region.grey = QImage(width, height, QImage::Format_Grayscale8);
  if (region.grey.isNull()) {
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
  const uchar* bits = picture.constBits();
  const qsizetype stride = picture.bytesPerLine();
  const int pictureWidth = picture.width(), pictureHeight = picture.height();
  for (int v = 0; v < height; ++v) {
    uchar* row = region.grey.scanLine(v);
    for (int u = 0; u < width; ++u) {
      const double atX = first.x + u * acrossX + v * downX;
      const double atY = first.y + u * acrossY + v * downY;
      const int x = static_cast<int>(std::floor(atX)), y = static_cast<int>(std::floor(atY));
      const bool inside = x >= 0 && y >= 0 && x < pictureWidth && y < pictureHeight;
      row[u] = inside ? bits[y * stride + x] : 255;
    }
  }
  return region;
}

int InkLevel(const QImage& picture) {
  // The paper's level: the brightest of most dots (a sheet is mostly paper); black is 0.
  std::vector<int> histogram(256, 0);
  long long count = 0;
  const int step = std::max(1, picture.height() / 400);
  for (int y = 0; y < picture.height(); y += step) {
    const uchar* row = picture.constScanLine(y);
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
  const QImage& grey = region.grey;
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
  const QImage& grey = region.grey;
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

QImage Cleaned(const Region& region, int inkLevel) {
  const int margin = static_cast<int>(region.pixelsPerInch * 0.25);
  QImage clean(region.grey.width() + 2 * margin, region.grey.height() + 2 * margin,
               QImage::Format_Grayscale8);
  if (clean.isNull()) {
    return clean;
  }
  clean.fill(255);
  for (int y = 0; y < region.grey.height(); ++y) {
    uchar* row = clean.scanLine(y + margin) + margin;
    for (int x = 0; x < region.grey.width(); ++x) {
      row[x] = Dark(region.grey, x, y, inkLevel) ? 0 : 255;
    }
  }
  return clean;
}

namespace {

// The rows the bars span and the columns from the first bar to the last; false when the
// region's middle row crosses no bars.
bool BarRows(const QImage& grey, int inkLevel, int& top, int& bottom, int& first, int& last) {
  // The row the bars cross for sure: a third of the way down the symbol's region.
  const int middle = grey.height() / 3;
  if (grey.isNull() || !InkedSpan(grey, middle, inkLevel, first, last) || last - first < 4) {
    return false;
  }
  top = middle;
  bottom = middle;
  while (top > 0 && Agreement(grey, top - 1, middle, first, last, inkLevel) > kSameBars) {
    --top;
  }
  while (bottom + 1 < grey.height() &&
         Agreement(grey, bottom + 1, middle, first, last, inkLevel) > kSameBars) {
    ++bottom;
  }
  return true;
}

}  // namespace

void MeasureBars(const Region& region, int inkLevel, int fixedModules, sheet::Symbology symbology,
                 double& heightInches, double& moduleInches) {
  heightInches = 0;
  moduleInches = 0;
  const QImage& grey = region.grey;
  int top = 0, bottom = 0, first = 0, last = 0;
  if (!BarRows(grey, inkLevel, top, bottom, first, last)) {
    return;
  }
  const int middle = grey.height() / 3;
  heightInches = (bottom - top + 1) / region.pixelsPerInch;
  const double span = (last - first + 1) / region.pixelsPerInch;
  const std::vector<int> runs = BarRuns(grey, middle, first, last, inkLevel);
  if (fixedModules > 0) {
    moduleInches = span / fixedModules;
  } else if (symbology == sheet::Symbology::kCode128 && runs.size() >= 7) {
    // Three bars each eleven-module character, four in the thirteen-module stop.
    const double characters = (static_cast<double>(runs.size()) - 4) / 3;
    moduleInches = span / (11 * characters + 13);
  } else if (!runs.empty()) {
    moduleInches = NarrowMean(runs) / region.pixelsPerInch;
  }
}

std::vector<verify::Profile> ScanLines(const Region& region, int inkLevel, int count,
                                       const std::string& data, int interleavedDigits) {
  std::vector<verify::Profile> lines;
  const QImage& grey = region.grey;
  int top = 0, bottom = 0, first = 0, last = 0;
  if (!BarRows(grey, inkLevel, top, bottom, first, last) || bottom - top < 2) {
    return lines;
  }
  for (int i = 0; i < count; ++i) {
    const int y = top + (bottom - top) / 10 + (bottom - top) * 8 * i / (10 * std::max(1, count - 1));
    verify::Profile profile;
    const uchar* row = grey.constScanLine(y);
    for (int x = 0; x < grey.width(); ++x) {
      profile.samples.push_back(row[x] / 255.0);
    }
    // The line alone, a few rows of it, with a quiet zone the decoder can find.
    QImage strip(grey.width(), 4, QImage::Format_Grayscale8);
    for (int r = 0; r < strip.height(); ++r) {
      std::memcpy(strip.scanLine(r), row, static_cast<std::size_t>(grey.width()));
    }
    for (const verify::FoundSymbol& read : FindSymbols(strip, interleavedDigits)) {
      profile.decodes = profile.decodes || read.data == data;
    }
    lines.push_back(std::move(profile));
  }
  return lines;
}

}  // namespace quorvel::scan
