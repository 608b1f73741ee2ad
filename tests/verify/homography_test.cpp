// Placing a photo: anchors made by carrying sheet points through a perspective written out by
// hand, with one anchor misplaced, or on a page bowed so that no single homography fits it.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "verify/homography.h"

namespace quorvel::verify {
namespace {

using Map = std::function<Point(Point)>;

// A grid of sheet points over an A4 sheet and where `map` puts them.
std::vector<Anchor> GridThrough(const Map& map) {
  std::vector<Anchor> anchors;
  for (double x = 0.5; x < 8; x += 2.5) {
    for (double y = 0.5; y < 11.5; y += 2.5) {
      anchors.push_back({{x, y}, map({x, y})});
    }
  }
  return anchors;
}

// 200 dpi seen from below the sheet's foot: the far top smaller, a turn of a few degrees.
Point Tilted(Point s) {
  const double w = 1 + 0.02 * s.y;
  return {(196 * s.x - 14 * s.y + 300) / w, (14 * s.x + 196 * s.y + 150) / w};
}

TEST(RobustHomography, FitsPerspectiveAndLeavesOutAMisplacedAnchor) {
  struct Case {
    const char* what;
    Map map;
    int misplaced;  // the anchor moved 0.3 in on the picture; -1: none
    bool perspective;
  };
  const Case cases[] = {
      {"300 dpi, upright",
       [](Point s) {
         return Point{300 * s.x, 300 * s.y};
       },
       -1, false},
      {"turned 90 on a picture 3300 wide",
       [](Point s) {
         return Point{3300 - 300 * s.y, 300 * s.x};
       },
       -1, false},
      {"tilted", Tilted, -1, true},
      {"tilted, one anchor misplaced", Tilted, 5, true},
      {"tilted, the first anchor misplaced", Tilted, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Anchor> anchors = GridThrough(c.map);
    if (c.misplaced >= 0) {
      anchors[static_cast<std::size_t>(c.misplaced)].picture.x += 0.3 * 200;
    }
    const HomographyFit fit = RobustHomography(anchors, 0.05);
    ASSERT_TRUE(fit.found);
    EXPECT_EQ(fit.inliers, static_cast<int>(anchors.size()) - (c.misplaced >= 0 ? 1 : 0));
    EXPECT_LT(fit.errorInches, 1e-6);
    for (const Point s : {Point{1, 1}, Point{7, 10}, Point{4.1, 6.3}}) {
      const Point p = Apply(fit.matrix, s), q = c.map(s);
      EXPECT_NEAR(p.x, q.x, 1e-4);
      EXPECT_NEAR(p.y, q.y, 1e-4);
    }
    EXPECT_EQ(InPerspective(fit.matrix, 8.27, 11.69, 0.01), c.perspective);
  }
}

TEST(RobustHomography, RefusesTooFewOrCollinearAnchors) {
  EXPECT_FALSE(
      RobustHomography({{{1, 1}, {300, 300}}, {{2, 1}, {600, 300}}, {{1, 2}, {300, 600}}}, 0.05)
          .found);
  std::vector<Anchor> line;
  for (double x = 1; x < 7; x += 1) {
    line.push_back({{x, 2}, {300 * x, 600}});
  }
  EXPECT_FALSE(RobustHomography(line, 0.05).found);
}

TEST(LocalHomography, FollowsAPageThatDoesNotLieFlat) {
  // Bowed: the middle of the page lifted towards the camera, 1.5 % larger than its edges.
  const Map bowed = [](Point s) {
    const double lift = 1 + 0.015 * std::cos((s.y - 5.85) / 5.85 * 1.5708);
    return Point{200 * (4.13 + (s.x - 4.13) * lift), 200 * (5.85 + (s.y - 5.85) * lift)};
  };
  std::vector<Anchor> anchors;
  for (double x = 0.5; x < 8; x += 1.5) {
    for (double y = 0.5; y < 11.5; y += 1) {
      anchors.push_back({{x, y}, bowed({x, y})});
    }
  }
  const HomographyFit global = RobustHomography(anchors, 0.1);
  ASSERT_TRUE(global.found);
  for (const Point centre : {Point{2, 2}, Point{6, 6}, Point{3, 10}}) {
    const HomographyFit local = LocalHomography(anchors, global, centre, 1.5);
    const Point truth = bowed({centre.x + 0.5, centre.y});
    const Point near = Apply(local.matrix, {centre.x + 0.5, centre.y});
    const Point far = Apply(global.matrix, {centre.x + 0.5, centre.y});
    // Within a hundredth of an inch (2 dots) where the whole page's fit is further off.
    EXPECT_LT(std::hypot(near.x - truth.x, near.y - truth.y), 2);
    EXPECT_LT(std::hypot(near.x - truth.x, near.y - truth.y),
              std::hypot(far.x - truth.x, far.y - truth.y));
  }
}

}  // namespace
}  // namespace quorvel::verify
