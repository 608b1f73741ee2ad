#pragma once

#include <string>

namespace quorvel::sheet {

// The details no stored printer manual settles, each worded once. docs/sheet.md lists them with
// what a user can do when a printer differs.

/// Dot matrix: where the head starts on a sheet.
inline constexpr const char* kHeadStartGuess =
    "the print head's first position (1/4 in from the left edge, 1/3 in down) is where a sheet "
    "is usually loaded: no manual fixes it";
/// Every dot-matrix symbol: how far the ink of a bar spreads.
inline constexpr const char* kInkGuess =
    "each bar is drawn 3/360 in wider than the head's width, as much as the width tables make a "
    "space wider than a bar: no manual says how far the ink spreads";
/// n5 = 1, where the two 24-pin manuals give different widths.
inline constexpr const char* kNarrowestGuess =
    "n5 = 1: the widths are the MICROLINE 3390's (EAN/UPC character 40/360 in, Code 128 64/360, "
    "narrow bar 3/360); the ML390/591 reference gives 35/360, 55/360 and 2/360";
/// UPC-E: its check digit and its human-readable digits.
inline constexpr const char* kUpcEGuess =
    "UPC-E: the check digit (of the UPC-A number the 6 digits stand for, carried by the parity) "
    "and where the human-readable digits sit are in no manual";
/// Code 39 and 2 of 5: the wide space.
inline constexpr const char* kWideSpaceGuess =
    "the wide space is in no manual: taken as the wide bar of n7 and n6, widened as much as the "
    "narrow space is wider than the narrow bar";
/// Text in a face ESC k chose while the job never set the print quality.
inline constexpr const char* kQualityGuess =
    "ESC k changes the typeface in letter quality only, and the job never selects the quality "
    "(ESC x): the printer's power-on quality, a panel setting, is taken as LQ";
/// Text printed after a symbol on the same line.
inline constexpr const char* kAfterSymbolGuess =
    "printed from where the head stopped at the symbol's end: drawn from the next whole "
    "character cell";
/// PCL barcode-font glyphs.
inline constexpr const char* kGlyphSizeGuess =
    "the barcode font's pitch and bar height are the printer's own: drawn one glyph per 10-cpi "
    "cell, 0.9 line high";
inline constexpr const char* kUndefinedCodeGuess =
    "what the font holds for a code it does not define is in no reference: printed as a space";

/// A barcode parameter the job never set: "the bar length: the job never sets it ...".
std::string PowerOnGuess(const std::string& what, const std::string& value);

}  // namespace quorvel::sheet
