#pragma once

#include <vector>

#include "verify/placement.h"

// A photo sees the sheet in perspective: straight lines stay straight, but the scale changes
// across the page. The sheet is carried onto the picture by a homography, fitted to anchors
// (sheet points and where the picture shows them) so that a few misplaced ones do not tilt it.
namespace quorvel::verify {

/// A homography fitted to anchors: the matrix (sheet inches to picture pixels, row by row), the
/// anchors it holds to, and how far they are off, in inches on the sheet.
struct HomographyFit {
  bool found = false;
  Homography matrix{};
  std::vector<bool> inlier;  // one for each anchor
  int inliers = 0;
  double errorInches = 0;  // root mean square of the inliers' misses
  double scaleError = 0;   // the share by which the fit's scale may be off: error over spread
};

/// The least-squares homography through the anchors, each counted with its weight (all 1 when
/// `weights` is empty). Not found with fewer than four anchors or anchors on one line.
bool FitHomography(const std::vector<Anchor>& anchors, const std::vector<double>& weights,
                   Homography& matrix);

/// Where the homography puts a sheet point, and the reverse.
Point Apply(const Homography& matrix, Point sheet);
Point Unapply(const Homography& matrix, Point picture);

/// How far the anchor's picture point, carried back onto the sheet, lies from its sheet point.
double Miss(const Homography& matrix, const Anchor& anchor);

/// The fit that most anchors agree with within `agreeInches`: drawn from sets of four
/// (a fixed sequence, so the same picture always gives the same fit), then fitted again to every
/// anchor that agrees.
HomographyFit RobustHomography(const std::vector<Anchor>& anchors, double agreeInches);

/// The fit around sheet point `centre`: the robust fit's inliers, each weighted by its nearness
/// to `centre` (a Gaussian of `reachInches`), so that a page that does not lie flat is placed
/// by what lies near each of its parts.
HomographyFit LocalHomography(const std::vector<Anchor>& anchors, const HomographyFit& global,
                              Point centre, double reachInches);

/// The picture's dots per inch at sheet point `at`, along the sheet's x and y.
double DotsPerInchAcross(const Homography& matrix, Point at);
double DotsPerInchDown(const Homography& matrix, Point at);

/// True when the homography's scale changes across the page (`width` by `height` inches) by more
/// than `share`, or differs between across and down by more: the sheet was photographed, not
/// scanned.
bool InPerspective(const Homography& matrix, double width, double height, double share);

}  // namespace quorvel::verify
