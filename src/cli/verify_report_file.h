#pragma once

#include <string>
#include <vector>

#include "sheet/page_model.h"
#include "verify/scan_module.h"
#include "verify/verify_report.h"

namespace quorvel::cli {

/// The printer the expected sheet is drawn for: its paper and its dot-matrix line length.
struct SheetPrinter {
  sheet::Paper paper = sheet::Paper::kA4;
  int columns = sheet::kNarrowColumns;
};

/// Writes the HTML report of a verify run to `output`: each page's annotated scan (drawn by the
/// scan module with `labels[i]`) and expected sheet (drawn by the drawing module) embedded beside
/// its table. A picture that cannot be drawn is named in its place; returns why the report
/// itself could not be written, or "".
std::string WriteReportFile(const verify::ScanModule& module, const std::string& scan,
                            const std::vector<verify::PageResult>& pages,
                            const std::vector<std::vector<verify::Label>>& labels,
                            SheetPrinter printer, int exitStatus, const std::string& output);

}  // namespace quorvel::cli
