#pragma once

#include <optional>
#include <string_view>

#include "sheet/page_model.h"

namespace quorvel::sheet {

/// The barcode font a PCL symbol set stands for: "0Y", "8Y", "15Y"; nothing for text sets.
std::optional<GlyphFont> FontForSymbolSet(std::string_view id);

/// The PCL symbol set of a barcode font: "0Y", "8Y" or "15Y".
std::string_view SymbolSetOf(GlyphFont font);

/// True for the text symbol sets PCL printers carry ("10U", "8U", "0N" ...).
bool IsTextSymbolSet(std::string_view id);

/// True when the glyph tables give `c` a shape in `font`.
bool HasGlyph(GlyphFont font, char c);

/// Code 39: the nine elements of a character, bar first, bars and spaces alternating; '1' wide,
/// '0' narrow. Empty for characters outside Code 39.
std::string_view Code39Pattern(char c);

/// EAN/UPC: the seven modules of a left-hand odd-parity (set A) digit, '1' a dark module.
std::string_view EanPattern(char c);

/// POSTNET: the five bars of a digit, '1' a full bar, '0' a half bar.
std::string_view PostnetPattern(char c);

}  // namespace quorvel::sheet
