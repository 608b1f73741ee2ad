#pragma once

#include <vector>

#include "common/grey_picture.h"
#include "scan/region_measure.h"
#include "verify/homography.h"
#include "verify/scan_findings.h"

// A photo shows the sheet in perspective, and a page that does not lie flat bowed besides. It is
// placed by a homography fitted to what the sheet prints where the sheet says: the corners of
// each block's symbol, and the ends of the printed lines. Each block is then cut out by a fit of
// its own, weighted towards what lies near it.
namespace quorvel::scan {

using Picture = GreyPicture;

/// The points a photo's placement is fitted to, and the fit.
struct PhotoFit {
  std::vector<verify::Anchor> anchors;
  std::vector<int> blockOf;  // for each anchor, the block whose corner it is; 0: a line's end
  verify::HomographyFit fit;
};

/// A first placement in perspective from the decoded symbols each tied to a block: the middle
/// and both ends of each; not found with fewer than three such symbols.
verify::Placement PerspectiveFromSymbols(const verify::ExpectedPage& page,
                                         const std::vector<verify::FoundSymbol>& symbols);

/// The placement that is the homography `matrix`, its scale and turn those at the sheet's
/// middle.
verify::Placement PlacementOf(const verify::Homography& matrix, const verify::ExpectedPage& page);

/// Fits the placement again to the symbols' corners and the lines' ends measured where
/// `placement` puts them. A picture that shows the paper's outline (`onDesk`) is a photo; one
/// the sheet fills is a photo only where the fit is in perspective and misses the points by
/// 0.1 in less than a scale, turn and offset would. A photo's placement becomes the perspective
/// fit and true is returned; a scan's is left as it was.
bool FitPhoto(const Picture& picture, const verify::ExpectedPage& page, bool onDesk,
              verify::Placement& placement, PhotoFit& photo);

/// A glyph run's box as the photo shows it printed: its inked ends, carried onto the sheet by
/// `placement`, with the sheet's top and height; `box` itself where its ends are not found, or
/// lie further than a tenth of its width from where the sheet has them.
verify::Box PrintedRun(const Picture& picture, const verify::Placement& placement,
                       const verify::Box& box);

/// The grey level under which a dot of the region is ink: half way between its darkest and its
/// brightest twentieth, so that the light where it lies decides; 0 (no dot is ink) where the
/// region is paper alone.
int LocalInkLevel(const Region& region);

/// The placement a photo's block is cut out by: fitted to the points the page's fit holds to,
/// weighted by their nearness to the block, so that a page that does not lie flat is cut out
/// upright and to scale block by block.
verify::Placement BlockPlacement(const verify::Placement& placement, const PhotoFit& photo,
                                 const verify::ExpectedBlock& block);

}  // namespace quorvel::scan
