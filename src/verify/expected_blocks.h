#pragma once

#include <string>
#include <vector>

#include "sheet/page_model.h"
#include "verify/scan_findings.h"

namespace quorvel::verify {

/// The width of a barcode's bars, in inches, from its symbology, data and element widths as the
/// printer lays them down (quiet zones and human-readable text left out).
double SymbolWidthInches(const sheet::Barcode& barcode);

/// The modules between a symbol's first and last bar: 67 for EAN-8, 95 for EAN-13 and UPC-A, 51
/// for UPC-E; 0 for the symbologies whose width depends on their data.
int FixedModules(sheet::Symbology symbology);

/// The blocks of each page of `sheet`, numbered from 1 on each page: its barcodes, or for a PCL
/// sheet its glyph runs.
std::vector<ExpectedPage> ExpectedPages(const sheet::Sheet& sheet, const std::string& name,
                                        sheet::Paper paper);

}  // namespace quorvel::verify
