#pragma once

#include <string>

#include "inspect/listing.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {

/// One barcode for a reader: "barcode UPC-A 123456789012 (check digit 2 added by the printer),
/// bars 2.00 in high, module 0.0556 in, human-readable line off".
std::string DescribeBarcode(const Barcode& barcode);

/// Adds to the listing's lines what the printer makes of them: each barcode with its fields,
/// each description line or caption that disagrees with the bytes, each page break and each
/// note.
void AddSheetNotes(inspect::Listing& listing, const Sheet& sheet);

}  // namespace quorvel::sheet
