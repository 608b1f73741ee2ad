#include "verify/placement.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "verify/homography.h"

namespace quorvel::verify {
namespace {

using Complex = std::complex<double>;

constexpr double kMinScale = 30;
constexpr double kMaxScale = 5000;
constexpr double kBlockReach = 0.25;  // inches around a block's box that still belong to it

Complex C(Point p) {
  return {p.x, p.y};
}
Point P(Complex c) {
  return {c.real(), c.imag()};
}

Complex Factor(const Placement& placement) {
  return std::polar(placement.scale, placement.rotationDegrees * std::numbers::pi / 180);
}

}  // namespace

Placement FitPlacement(const std::vector<Anchor>& anchors) {
  Placement placement;
  if (anchors.size() < 2) {
    return placement;
  }
  Complex sheetMean, pictureMean;
  for (const Anchor& a : anchors) {
    sheetMean += C(a.sheet);
    pictureMean += C(a.picture);
  }
  sheetMean /= static_cast<double>(anchors.size());
  pictureMean /= static_cast<double>(anchors.size());
  Complex cross;
  double spread = 0;
  for (const Anchor& a : anchors) {
    const Complex s = C(a.sheet) - sheetMean;
    cross += (C(a.picture) - pictureMean) * std::conj(s);
    spread += std::norm(s);
  }
  if (spread < 1e-4) {
    return placement;
  }
  const Complex factor = cross / spread;
  const double scale = std::abs(factor);
  if (scale < kMinScale || scale > kMaxScale) {
    return placement;
  }
  placement.found = true;
  placement.scale = scale;
  placement.rotationDegrees = std::arg(factor) * 180 / std::numbers::pi;
  placement.offset = P(pictureMean - factor * sheetMean);
  placement.anchors = static_cast<int>(anchors.size());
  return placement;
}

Placement PlaceFromOne(const Anchor& anchor, double scale, int quarterTurns) {
  Placement placement;
  if (scale < kMinScale || scale > kMaxScale) {
    return placement;
  }
  placement.found = true;
  placement.scale = scale;
  placement.rotationDegrees = ((quarterTurns % 4 + 4) % 4) * 90.0;
  if (placement.rotationDegrees > 180) {
    placement.rotationDegrees -= 360;
  }
  placement.offset = P(C(anchor.picture) - Factor(placement) * C(anchor.sheet));
  placement.anchors = 1;
  return placement;
}

Placement PlaceAt(Point sheet, Point picture, double scale, double rotationDegrees) {
  Placement placement;
  placement.found = scale >= kMinScale && scale <= kMaxScale;
  placement.scale = scale;
  placement.rotationDegrees = rotationDegrees;
  placement.offset = P(C(picture) - Factor(placement) * C(sheet));
  return placement;
}

Point ToPicture(const Placement& placement, Point p) {
  if (placement.perspective) {
    return Apply(placement.homography, p);
  }
  return P(Factor(placement) * C(p) + C(placement.offset));
}

Point ToSheet(const Placement& placement, Point p) {
  if (placement.perspective) {
    return Unapply(placement.homography, p);
  }
  return P((C(p) - C(placement.offset)) / Factor(placement));
}

double LargestMiss(const Placement& placement, const std::vector<Anchor>& anchors) {
  double largest = 0;
  for (const Anchor& a : anchors) {
    largest = std::max(largest, std::abs(C(ToSheet(placement, a.picture)) - C(a.sheet)));
  }
  return largest;
}

Placement WithoutStray(const Placement& placement, const std::vector<Anchor>& anchors,
                       double strayInches) {
  if (!placement.found || anchors.size() < 4) {
    return placement;
  }
  std::size_t worst = 0;
  double miss = 0;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    const double off = std::abs(C(ToSheet(placement, anchors[i].picture)) - C(anchors[i].sheet));
    if (off > miss) {
      miss = off;
      worst = i;
    }
  }
  if (miss <= strayInches) {
    return placement;
  }
  std::vector<Anchor> others = anchors;
  others.erase(others.begin() + static_cast<long>(worst));
  const Placement fitted = FitPlacement(others);
  return fitted.found && LargestMiss(fitted, others) <= strayInches ? fitted : placement;
}

int QuarterTurns(double rotationDegrees) {
  const double turns = std::round(rotationDegrees / 90);
  return ((static_cast<int>(turns) % 4) + 4) % 4;
}

double Skew(double rotationDegrees) {
  return rotationDegrees - std::round(rotationDegrees / 90) * 90;
}

Point Centre(const Box& box) {
  return {box.left + box.width / 2, box.top + box.height / 2};
}

Point Centre(const std::vector<Point>& outline) {
  if (outline.empty()) {
    return {};
  }
  double left = outline[0].x, right = left, top = outline[0].y, bottom = top;
  for (const Point& p : outline) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return {(left + right) / 2, (top + bottom) / 2};
}

Box SheetBox(const Placement& placement, const std::vector<Point>& outline) {
  if (outline.empty() || !placement.found) {
    return {};
  }
  const Point first = ToSheet(placement, outline[0]);
  double left = first.x, right = first.x, top = first.y, bottom = first.y;
  for (const Point& p : outline) {
    const Point s = ToSheet(placement, p);
    left = std::min(left, s.x);
    right = std::max(right, s.x);
    top = std::min(top, s.y);
    bottom = std::max(bottom, s.y);
  }
  return {left, top, right - left, bottom - top};
}

int BlockAt(const ExpectedPage& page, const Box& box) {
  const Point centre = Centre(box);
  int best = 0;
  double bestDistance = std::numeric_limits<double>::max();
  for (const ExpectedBlock& block : page.blocks) {
    const Box& b = block.box;
    const bool inside =
        centre.x >= b.left - kBlockReach && centre.x <= b.left + b.width + kBlockReach &&
        centre.y >= b.top - kBlockReach && centre.y <= b.top + b.height + kBlockReach;
    const double distance = std::abs(C(centre) - C(Centre(b)));
    if (inside && distance < bestDistance) {
      best = block.number;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace quorvel::verify
