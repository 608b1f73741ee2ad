#pragma once

#include <string>
#include <vector>

#include "sheet/page_model.h"

namespace quorvel::verify {

/// Columns a character cell is sampled in when glyph runs are compared.
inline constexpr int kColumnsPerCell = 32;

/// For each column of a glyph run (kColumnsPerCell a character), the share of the glyph's height
/// that is dark, as the barcode font draws it: Code 39's nine elements of one or three units in
/// sixteen, EAN/UPC's seven modules, POSTNET's five bars, and an outlined box for a character
/// the font has no known glyph for.
std::vector<double> ExpectedColumns(sheet::GlyphFont font, const std::string& text);

/// How well a measured column profile matches the expected one: the best correlation (-1 to 1)
/// of the two, smoothed over three columns, with the measured one shifted by up to `maxShift`
/// columns either way. 0 when either is flat.
double ProfileMatch(const std::vector<double>& expected, const std::vector<double>& measured,
                    int maxShift);

}  // namespace quorvel::verify
