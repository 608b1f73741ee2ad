#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sheet/page_model.h"

namespace quorvel::sheet {

/// The UPC-A number (11 digits, no check digit) that 6 UPC-E digits of number system 0 stand for.
std::string ExpandUpcE(std::string_view digits);

/// Reads Code 128 data as the printer takes it: the first character ("A", "B" or "C") picks the
/// code set, a code-set change in the data switches sets, the set's check code at the end ("g",
/// CAN or "@") asks for the check symbol. Fills `barcode.data` (the characters, as a scanner
/// reports them), `barcode.codeSet`, `barcode.symbols` (start to stop) and `barcode.check` (the
/// check symbol's value); returns why the printer refuses the data, or nothing.
std::string Code128(std::string_view data, Barcode& barcode);

/// The modules of Code 128 symbol values, '1' for a bar module and '0' for a space module:
/// 11 for each symbol, 13 for the stop (106).
std::string Code128Modules(const std::vector<int>& symbols);

}  // namespace quorvel::sheet
