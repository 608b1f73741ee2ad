#pragma once

#include <string>
#include <vector>

#include "common/grey_picture.h"
#include "verify/scan_findings.h"

namespace quorvel::scan {

/// A part of the sheet cut out of the scan upright, at `pixelsPerInch`: its top left corner
/// is the box's.
struct Region {
  GreyPicture grey;
  verify::Box box;
  double pixelsPerInch = 0;
};

/// Cuts `box` out of the picture upright, whatever the scan's turn and skew.
Region CutOut(const GreyPicture& picture, const verify::Placement& placement,
              const verify::Box& box, double pixelsPerInch);

/// The grey level under which a dot is ink: half way between the paper's and black.
int InkLevel(const GreyPicture& picture);

/// The share of ink dots in the region.
double InkShare(const Region& region, int inkLevel);

/// For each column of the region, the share of its dots that are ink.
std::vector<double> ColumnShares(const Region& region, int inkLevel);

/// The region thresholded to black and white, with a white margin round it (a quiet zone).
GreyPicture Cleaned(const Region& region, int inkLevel);

/// The bar height and module of the symbol in the region, in inches (0 where they cannot be
/// measured); `inkInches` is how far the sheet spreads the ink of each bar. `followBars` (a
/// photo): the height is the median of each bar's, followed where it slants or bows, instead of
/// the rows that cross the same bars as the middle one.
void MeasureBars(const Region& region, int inkLevel, sheet::Symbology symbology, double inkInches,
                 bool followBars, double& heightInches, double& moduleInches);

/// `count` scan lines across the symbol in the region, spread over the middle four fifths of its
/// bars' height: each line's reflectance (0 black, 1 paper white as the scan has it) from the
/// region's left edge to its right, and whether that line alone decodes to `data`.
std::vector<verify::Profile> ScanLines(const Region& region, int inkLevel, int count,
                                       const std::string& data, int interleavedDigits);

}  // namespace quorvel::scan
