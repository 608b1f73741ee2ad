#pragma once

#include <string>
#include <vector>

#include "verify/scan_module.h"

namespace quorvel::scan {

/// Writes page `page.page` of the scan at `path` to `output` (PNG) with each label's box
/// outlined in its colour and its text beside it, made smaller to `longestSide` pixels when it
/// is longer (0: as scanned). Returns why it could not, or "".
std::string WriteAnnotated(const std::string& path, const verify::PageFindings& page,
                           const std::vector<verify::Label>& labels, const std::string& output,
                           int longestSide);

}  // namespace quorvel::scan
