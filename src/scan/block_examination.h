#pragma once

#include "common/grey_picture.h"
#include "scan/photo_placement.h"
#include "verify/scan_findings.h"

namespace quorvel::scan {

/// What each block's region holds on a placed page: the symbol read there (its region read
/// again, upright and cleaned, where the whole page's reading found none), its height and module
/// with the picture's resolution there, its scan lines for the grade (a scan's only), or a glyph
/// run's column profile. A photo's block is cut out by a placement of its own (`photo`) and
/// thresholded by its own light. A region read again takes a 2 of 5 symbol of
/// `interleavedDigits` digits or more, as the whole page's reading does, unless the block is one.
void ExamineBlocks(const GreyPicture& picture, const verify::ExpectedPage& expected,
                   bool measureProfiles, int interleavedDigits, const PhotoFit& photo,
                   verify::PageFindings& page);

}  // namespace quorvel::scan
