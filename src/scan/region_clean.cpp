#include "scan/region_clean.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quorvel::scan {
namespace {

// The window round each dot: wider than twice the widest bar or space of a sheet's symbol
// (UPC-A's 4 modules, 0.22 in), so that round a dot in a wide bar it still holds paper; and
// low, since the bars run down the region and the light may change sharply along them (the
// edge of a shadow), while along a row every window holds bars and spaces alike.
constexpr double kWindowInches = 0.5;
constexpr double kWindowHighInches = 0.04;
constexpr int kDarkerPercent = 10;  // how much darker than its surroundings ink is
constexpr int kMedianDots = 5;      // the median along the bars takes out single dots

// Each dot the median of the kMedianDots dots above and below it in its column: dust and
// noise a dot or two across go, and no bar's edge moves across.
GreyPicture MedianAlongBars(const GreyPicture& grey) {
  GreyPicture out(grey.width(), grey.height());
  if (out.empty()) {
    return out;
  }
  const int half = kMedianDots / 2;
  std::uint8_t window[kMedianDots];
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      int count = 0;
      for (int i = std::max(0, y - half); i <= std::min(grey.height() - 1, y + half); ++i) {
        window[count++] = grey.at(x, i);
      }
      std::nth_element(window, window + count / 2, window + count);
      out.row(y)[x] = window[count / 2];
    }
  }
  return out;
}

// Sums of the region's levels over every rectangle from its top left corner, one row and
// column of zeros before them.
std::vector<std::int64_t> Integral(const GreyPicture& grey) {
  const int width = grey.width() + 1;
  std::vector<std::int64_t> sums(static_cast<std::size_t>(width) * (grey.height() + 1), 0);
  for (int y = 0; y < grey.height(); ++y) {
    std::int64_t row = 0;
    for (int x = 0; x < grey.width(); ++x) {
      row += grey.at(x, y);
      const auto at = static_cast<std::size_t>(y + 1) * width + static_cast<std::size_t>(x + 1);
      sums[at] = sums[at - static_cast<std::size_t>(width)] + row;
    }
  }
  return sums;
}

// Ink (true) where a dot is darker than its window's mean by kDarkerPercent.
std::vector<bool> LocalInk(const GreyPicture& grey, double pixelsPerInch) {
  const int width = grey.width(), height = grey.height();
  const int half = std::max(2, static_cast<int>(pixelsPerInch * kWindowInches / 2));
  const int halfHigh = std::max(1, static_cast<int>(pixelsPerInch * kWindowHighInches / 2));
  const std::vector<std::int64_t> sums = Integral(grey);
  const auto sum = [&sums, width](int x, int y) {
    return sums[static_cast<std::size_t>(y) * static_cast<std::size_t>(width + 1) +
                static_cast<std::size_t>(x)];
  };
  std::vector<bool> ink(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const int top = std::max(0, y - halfHigh), bottom = std::min(height, y + halfHigh + 1);
    for (int x = 0; x < width; ++x) {
      const int left = std::max(0, x - half), right = std::min(width, x + half + 1);
      const std::int64_t total =
          sum(right, bottom) - sum(left, bottom) - sum(right, top) + sum(left, top);
      const std::int64_t count = static_cast<std::int64_t>(right - left) * (bottom - top);
      ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
          static_cast<std::size_t>(x)] =
          std::int64_t{grey.at(x, y)} * count * 100 < total * (100 - kDarkerPercent);
    }
  }
  return ink;
}

// Along column x, runs of `value` shorter than `shortest` that lie between runs of the other
// value (or an end of the column) are turned to the other value.
void DropShortRuns(std::vector<bool>& ink, int width, int height, int x, bool value, int shortest) {
  const auto at = [width, x](int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  };
  int y = 0;
  while (y < height) {
    int end = y;
    while (end < height && ink[at(end)] == ink[at(y)]) {
      ++end;
    }
    // Paper runs are filled only between ink, never at the column's ends.
    const bool inside = value || (y > 0 && end < height);
    if (ink[at(y)] == value && end - y < shortest && inside) {
      for (int i = y; i < end; ++i) {
        ink[at(i)] = !value;
      }
    }
    y = end;
  }
}

}  // namespace

int CleanMargin(const Region& region) {
  return static_cast<int>(region.pixelsPerInch * 0.25);
}

GreyPicture CleanedLocally(const Region& region, double speckInches) {
  const GreyPicture& grey = region.grey;
  const int width = grey.width(), height = grey.height(), margin = CleanMargin(region);
  const GreyPicture smoothed = MedianAlongBars(grey);
  if (smoothed.empty()) {
    return {};
  }
  std::vector<bool> ink = LocalInk(smoothed, region.pixelsPerInch);
  const int shortest = std::max(2, static_cast<int>(speckInches * region.pixelsPerInch));
  for (int x = 0; x < width; ++x) {
    DropShortRuns(ink, width, height, x, true, shortest);   // specks go
    DropShortRuns(ink, width, height, x, false, shortest);  // gaps in a bar are filled
  }
  GreyPicture clean(width + 2 * margin, height + 2 * margin);
  clean.Fill(255);
  for (int y = 0; y < clean.height() - 2 * margin; ++y) {
    std::uint8_t* row = clean.row(y + margin) + margin;
    for (int x = 0; x < width; ++x) {
      row[x] = ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)]
                   ? 0
                   : 255;
    }
  }
  return clean;
}

}  // namespace quorvel::scan

namespace quorvel::scan {

// The share of `levels` within a tenth of their median.
double NearMedian(std::vector<std::uint8_t>& levels) {
  if (levels.empty()) {
    return 0;
  }
  const auto middle = levels.begin() + static_cast<long>(levels.size() / 2);
  std::nth_element(levels.begin(), middle, levels.end());
  const int median = *middle, spread = std::max(8, median / 10);
  const auto near = std::count_if(levels.begin(), levels.end(), [median, spread](int level) {
    return level >= median - spread && level <= median + spread;
  });
  return static_cast<double>(near) / static_cast<double>(levels.size());
}

double PaperShare(const GreyPicture& picture) {
  // Tile by tile, so that light falling off across the page does not spread the paper's level.
  constexpr int kTiles = 12;
  const int step = std::max(1, picture.height() / 400);
  double sum = 0;
  for (int tile = 0; tile < kTiles * kTiles; ++tile) {
    const int left = picture.width() * (tile % kTiles) / kTiles;
    const int right = picture.width() * (tile % kTiles + 1) / kTiles;
    const int top = picture.height() * (tile / kTiles) / kTiles;
    const int bottom = picture.height() * (tile / kTiles + 1) / kTiles;
    std::vector<std::uint8_t> levels;
    for (int y = top; y < bottom; y += step) {
      for (int x = std::max(1, left); x + 1 < right; x += step) {
        // The median of three along the row: dust and noise a dot across do not count.
        const std::uint8_t* row = picture.row(y) + x;
        levels.push_back(
            std::max(std::min(row[-1], row[0]), std::min(std::max(row[-1], row[0]), row[1])));
      }
    }
    sum += NearMedian(levels);
  }
  return sum / (kTiles * kTiles);
}

}  // namespace quorvel::scan
