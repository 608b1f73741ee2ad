#pragma once

#include <istream>

namespace quorvel::scan {

/// The resolution a PNG file's pHYs chunk states (dots a metre, given as dots an inch); 0 when it
/// states none. `file` is the PNG from its first byte; the chunk comes before the picture data.
double PngStatedDpi(std::istream& file);

}  // namespace quorvel::scan
