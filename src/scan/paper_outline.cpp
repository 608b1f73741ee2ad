#include "scan/paper_outline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quorvel::scan {

using verify::Anchor;
using verify::ExpectedPage;
using verify::Placement;
using verify::Point;

namespace {

// The dots of row `y`.
const std::uint8_t* RowOf(const Picture& picture, int y) {
  return picture.row(y);
}

constexpr int kPaperDots = 500;  // the paper is looked for on a picture this small

// A picture made small: a dot every `step` each way.
struct Small {
  int width = 0, height = 0, step = 1;
  std::vector<std::uint8_t> dots;
};

Small Shrunk(const Picture& picture) {
  Small small;
  small.step = std::max(1, std::max(picture.width(), picture.height()) / kPaperDots);
  small.width = picture.width() / small.step;
  small.height = picture.height() / small.step;
  for (int y = 0; y < small.height; ++y) {
    for (int x = 0; x < small.width; ++x) {
      small.dots.push_back(RowOf(picture, y * small.step)[x * small.step]);
    }
  }
  return small;
}

// Otsu's level: the one that splits the dots into two groups most apart.
int SplitLevel(const std::vector<std::uint8_t>& dots) {
  std::vector<double> histogram(256, 0);
  for (std::uint8_t d : dots) {
    ++histogram[d];
  }
  double all = 0, total = 0;
  for (int i = 0; i < 256; ++i) {
    all += histogram[static_cast<std::size_t>(i)];
    total += i * histogram[static_cast<std::size_t>(i)];
  }
  double below = 0, belowSum = 0, best = -1;
  int level = 128;
  for (int i = 0; i < 256; ++i) {
    below += histogram[static_cast<std::size_t>(i)];
    belowSum += i * histogram[static_cast<std::size_t>(i)];
    const double above = all - below;
    if (below == 0 || above == 0) {
      continue;
    }
    const double gap = belowSum / below - (total - belowSum) / above;
    const double between = below * above * gap * gap;
    if (between > best) {
      best = between;
      level = i + 1;
    }
  }
  return level;
}

// Otsu's level splits the lit paper from the rest; paper in shadow or where the light falls off
// lies below it, the desk further still: half way down to the darker dots' mean.
int PaperLevel(const std::vector<std::uint8_t>& dots) {
  const int split = SplitLevel(dots);
  double sum = 0, count = 0;
  for (std::uint8_t d : dots) {
    if (d < split) {
      sum += d;
      ++count;
    }
  }
  return count > 0 ? (split + static_cast<int>(sum / count)) / 2 : split;
}

// The dots of the largest bright patch, by index.
std::vector<int> LargestPatch(const Small& small, int level) {
  std::vector<int> label(small.dots.size(), 0), best, patch;
  int next = 0;
  for (std::size_t start = 0; start < small.dots.size(); ++start) {
    if (label[start] != 0 || small.dots[start] < level) {
      continue;
    }
    patch = {static_cast<int>(start)};
    label[start] = ++next;
    for (std::size_t i = 0; i < patch.size(); ++i) {
      const int at = patch[i], x = at % small.width, y = at / small.width;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = x + dx, ny = y + dy;
        const int n = ny * small.width + nx;
        if (nx >= 0 && ny >= 0 && nx < small.width && ny < small.height &&
            label[static_cast<std::size_t>(n)] == 0 &&
            small.dots[static_cast<std::size_t>(n)] >= level) {
          label[static_cast<std::size_t>(n)] = next;
          patch.push_back(n);
        }
      }
    }
    if (patch.size() > best.size()) {
      best.swap(patch);
    }
  }
  return best;
}

int EdgeDots(const Small& small) {
  return 2 * (small.width + small.height);
}

// How many of the patch's dots lie on the picture's edge.
int OnEdge(const Small& small, const std::vector<int>& patch) {
  int edge = 0;
  for (int at : patch) {
    const int x = at % small.width, y = at / small.width;
    edge += x == 0 || y == 0 || x == small.width - 1 || y == small.height - 1 ? 1 : 0;
  }
  return edge;
}

}  // namespace

std::vector<Placement> PlacementsByPaper(const Picture& picture, const ExpectedPage& page) {
  const Small small = Shrunk(picture);
  const std::vector<int> patch = LargestPatch(small, PaperLevel(small.dots));
  // A sheet fills a good part of a photo of it, and not all of it: most of the picture's edge is
  // desk. A scan is paper out to its edges.
  if (patch.size() * 10 < small.dots.size() || OnEdge(small, patch) * 2 > EdgeDots(small)) {
    return {};
  }
  // Its corners: the patch's furthest dots towards each corner of the picture.
  Point corner[4];  // top left, top right, bottom right, bottom left
  double reach[4] = {-1e300, -1e300, -1e300, -1e300};
  for (int at : patch) {
    const double x = (at % small.width + 0.5) * small.step,
                 y = (at / small.width + 0.5) * small.step;
    const double towards[4] = {-x - y, x - y, x + y, y - x};
    for (int c = 0; c < 4; ++c) {
      if (towards[c] > reach[c]) {
        reach[c] = towards[c];
        corner[c] = {x, y};
      }
    }
  }
  const double across = std::hypot(corner[1].x - corner[0].x, corner[1].y - corner[0].y);
  const double down = std::hypot(corner[3].x - corner[0].x, corner[3].y - corner[0].y);
  const double w = page.paperWidthInches, h = page.paperHeightInches;
  const Point sheet[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  std::vector<Placement> placements;
  // Upright, the sheet's top left at the patch's; then turned half way round. On its side, the
  // sheet's top left at the patch's top right (turned a quarter clockwise), or its bottom left.
  for (int first : across > down ? std::vector<int>{1, 3} : std::vector<int>{0, 2}) {
    std::vector<Anchor> anchors;
    for (int c = 0; c < 4; ++c) {
      anchors.push_back({sheet[c], corner[(first + c) % 4]});
    }
    verify::Homography matrix;
    if (verify::FitHomography(anchors, {}, matrix)) {
      placements.push_back(PlacementOf(matrix, page));
    }
  }
  return placements;
}

}  // namespace quorvel::scan
