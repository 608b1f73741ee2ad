#pragma once

#include "common/grey_picture.h"
#include "verify/scan_findings.h"

namespace quorvel::scan {

/// Finds the symbols on page `index` of a scan, places the page on the candidate that fits it
/// best and examines each of that candidate's blocks.
verify::PageFindings AnalysePage(const GreyPicture& picture, int index,
                                 const verify::ScanRequest& request);

}  // namespace quorvel::scan
