#pragma once

#include "common/grey_picture.h"
#include "scan/region_measure.h"

namespace quorvel::scan {

/// The region in black and white for a second reading where light and dirt defeat one
/// threshold for the whole page, with a white margin round it as Cleaned() gives:
/// - each dot is first the median of five along its column, which takes out dust and noise a
///   dot or two across without moving a bar's edge;
/// - it is ink when it is darker than the dots round it (a window half an inch across and 0.04
///   in high) by a share, so that a shadow band, light falling off, grey paper or toner that is
///   not quite black reads as on a clean scan;
/// - along each column (the bars run down the upright region) a run of ink shorter than
///   `speckInches` is taken as a speck and turned to paper, and a gap in the ink as short is
///   filled: an opening and a closing along the bars, which never narrows or widens a bar.
GreyPicture CleanedLocally(const Region& region, double speckInches);

/// How far a region is widened on each side by Cleaned() and CleanedLocally(), in dots.
int CleanMargin(const Region& region);

}  // namespace quorvel::scan

namespace quorvel::scan {

/// The share of the picture's dots (a sample of them, each the median of three along its row)
/// whose level lies within a tenth of the
/// median dot's in their part of the picture (a twelfth of it each way): near 1 on a sheet,
/// which is mostly bare paper, low on a picture whose levels spread over the range, such as a
/// photo of anything else.
double PaperShare(const GreyPicture& picture);

}  // namespace quorvel::scan
