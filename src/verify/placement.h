#pragma once

#include <vector>

#include "verify/scan_findings.h"

namespace quorvel::verify {

/// A sheet point and where the scan shows it.
struct Anchor {
  Point sheet;    // inches
  Point picture;  // pixels
};

/// The scale, rotation and offset that carry the anchors' sheet points onto their picture points
/// best (least squares). Not found with fewer than two anchors, anchors that coincide, or a scale
/// no scan has (under 30 or over 5000 pixels per inch).
Placement FitPlacement(const std::vector<Anchor>& anchors);

/// A placement from one anchor: the scale and the quarter turns taken as given.
Placement PlaceFromOne(const Anchor& anchor, double scale, int quarterTurns);

/// The placement that puts sheet point `sheet` at picture point `picture`, with this scale and
/// rotation.
Placement PlaceAt(Point sheet, Point picture, double scale, double rotationDegrees);

/// Where the sheet point `p` lies on the picture, and the reverse.
Point ToPicture(const Placement& placement, Point p);
Point ToSheet(const Placement& placement, Point p);

/// The largest distance, in inches on the sheet, between an anchor's picture point and where the
/// placement puts its sheet point.
double LargestMiss(const Placement& placement, const std::vector<Anchor>& anchors);

/// The fit to `anchors` with one stray left out: among four or more, the anchor the fit misses
/// most when it misses by more than `strayInches`, where the others then fit within it (a
/// symbol printed wider or narrower than the sheet's has its middle elsewhere). Otherwise
/// `placement` as it is.
Placement WithoutStray(const Placement& placement, const std::vector<Anchor>& anchors,
                       double strayInches);

/// The rotation's whole quarter turns (0..3) and what is left over, in degrees (-45, 45]: the
/// scan's turn and its skew.
int QuarterTurns(double rotationDegrees);
double Skew(double rotationDegrees);

/// The middle of a box, and of an outline's points.
Point Centre(const Box& box);
Point Centre(const std::vector<Point>& outline);

/// The sheet box (inches) that holds the picture outline's points.
Box SheetBox(const Placement& placement, const std::vector<Point>& outline);

/// Which block of `page` holds the middle of `box`: the block whose box, widened by a quarter
/// inch each way, holds it, the nearest when several do; 0 for none.
int BlockAt(const ExpectedPage& page, const Box& box);

}  // namespace quorvel::verify
