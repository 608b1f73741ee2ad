#pragma once

#include <vector>

#include "common/grey_picture.h"
#include "verify/scan_findings.h"

namespace quorvel::scan {

/// The linear symbols zbar reads on a grey picture, with their outlines in its pixels: EAN-8,
/// EAN-13, UPC-A and UPC-E as themselves, Code 39, Code 128, and 2 of 5 from
/// `interleavedDigits` digits on (at least two).
std::vector<verify::FoundSymbol> FindSymbols(const GreyPicture& grey, int interleavedDigits);

}  // namespace quorvel::scan
