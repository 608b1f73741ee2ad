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

/// The module of a symbol measured along one scan line, in inches (0 when it cannot be
/// measured): `bars` the dark runs from its first bar to its last, `spanDots` the dots from the
/// first bar's left edge to the last bar's right one. EAN/UPC and Code 128 from the span and
/// their modules; Code 39 and 2 of 5 from their narrow bars. The ink the sheet spreads round
/// each bar (`inkInches`) is taken off, so the result compares with the sheet's module.
double MeasuredModule(const std::vector<double>& bars, double spanDots, double dotsPerInch,
                      sheet::Symbology symbology, double inkInches);

/// The blocks of each page of `sheet`, numbered from 1 on each page: its barcodes, or for a PCL
/// sheet its glyph runs.
std::vector<ExpectedPage> ExpectedPages(const sheet::Sheet& sheet, const std::string& name,
                                        sheet::Paper paper);

}  // namespace quorvel::verify
