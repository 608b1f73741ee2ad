// The shapes of the PCL barcode fonts' characters. The fonts' metrics (pitch, bar height) are
// the printer's own and no public reference gives them, so runs are drawn at the current pitch
// and marked approximate. The patterns below are those of the symbologies themselves:
// Code 39 (each character as 5 bars and 4 spaces, 3 of them wide), the EAN/UPC digit set A
// (odd parity), and POSTNET (each digit as 5 bars, 2 of them full height). A character the table
// lacks (a letter in the EAN/UPC or POSTNET font) is drawn as an empty box.

#include "sheet/glyph_tables.h"

#include <array>
#include <string>

#include "inspect/pcl_names.h"

namespace quorvel::sheet {
namespace {

struct Code39Glyph {
  char character;
  std::string_view pattern;
};

constexpr std::array<Code39Glyph, 44> kCode39{{
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'*', "010010100"},
    {'$', "010101000"}, {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"},
}};

// Digits 0 to 9.
constexpr std::array<std::string_view, 10> kEanSetA{"0001101", "0011001", "0010011", "0111101",
                                                    "0100011", "0110001", "0101111", "0111011",
                                                    "0110111", "0001011"};
constexpr std::array<std::string_view, 10> kPostnet{"11000", "00011", "00101", "00110", "01001",
                                                    "01010", "01100", "10001", "10010", "10100"};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The PCL symbol sets of the barcode fonts.
struct BarcodeSymbolSet {
  std::string_view id;
  GlyphFont font;
};
constexpr BarcodeSymbolSet kBarcodeSymbolSets[] = {
    {"0Y", GlyphFont::kCode39},
    {"8Y", GlyphFont::kEanUpc},
    {"15Y", GlyphFont::kPostnet},
};

}  // namespace

std::optional<GlyphFont> FontForSymbolSet(std::string_view id) {
  for (const BarcodeSymbolSet& set : kBarcodeSymbolSets) {
    if (set.id == id) {
      return set.font;
    }
  }
  return std::nullopt;
}

std::string_view SymbolSetOf(GlyphFont font) {
  for (const BarcodeSymbolSet& set : kBarcodeSymbolSets) {
    if (set.font == font) {
      return set.id;
    }
  }
  return {};
}

bool IsTextSymbolSet(std::string_view id) {
  return !inspect::SymbolSetName(id).empty();
}

bool HasGlyph(GlyphFont font, char c) {
  return font == GlyphFont::kCode39 ? !Code39Pattern(c).empty() : IsDigit(c);
}

std::string_view Code39Pattern(char c) {
  for (const Code39Glyph& glyph : kCode39) {
    if (glyph.character == c) {
      return glyph.pattern;
    }
  }
  return {};
}

std::string_view EanPattern(char c) {
  return IsDigit(c) ? kEanSetA[static_cast<std::size_t>(c - '0')] : std::string_view{};
}

std::string_view PostnetPattern(char c) {
  return IsDigit(c) ? kPostnet[static_cast<std::size_t>(c - '0')] : std::string_view{};
}

}  // namespace quorvel::sheet
