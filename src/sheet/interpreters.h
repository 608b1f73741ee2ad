#pragma once

#include <string_view>

#include "sheet/page_model.h"

namespace quorvel::sheet {

// The two printers: each reads the whole job item by item onto `sheet` (geometry already set).
void ReadDotMatrix(std::string_view job, Sheet& sheet);
void ReadPcl(std::string_view job, Sheet& sheet);

/// Compares the description lines and captions on the sheet with what the bytes after them ask
/// for, and records where they disagree.
void CheckDescriptions(Sheet& sheet);

}  // namespace quorvel::sheet
