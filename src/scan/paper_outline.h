#pragma once

#include <vector>

#include "scan/photo_placement.h"

// A photo usually shows the sheet on a desk: the paper is the largest bright patch, and its
// outline's corners are the sheet's.
namespace quorvel::scan {

/// First placements from the paper's outline: the largest bright patch of the picture, its four
/// corners the sheet's, upright and upside down (on its side when the patch is wider than high);
/// the text lines tell which. None when the picture shows no such patch.
std::vector<verify::Placement> PlacementsByPaper(const Picture& picture,
                                                 const verify::ExpectedPage& page);

}  // namespace quorvel::scan
