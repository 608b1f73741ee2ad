#pragma once

#include <string>

#include "verify/scan_findings.h"

namespace quorvel::scan {

/// Reads the scan at `path` and places each of its pages on the candidate that fits it best.
verify::ScanFindings ReadScan(const std::string& path, const verify::ScanRequest& request);

}  // namespace quorvel::scan
