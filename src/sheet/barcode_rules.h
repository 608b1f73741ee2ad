#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sheet/page_model.h"

namespace quorvel::sheet {

/// What the last ESC DLE A set: the barcode type and size the next ESC DLE B prints with.
struct BarcodeSettings {
  bool selected = false;  // no type chosen yet: ESC DLE B prints nothing
  Symbology symbology = Symbology::kEan8;
  int length = 6;             // n3 * 10 + n4: bar length in 15/180 inch
  int width = 1;              // n5, 1 (narrowest) to 7
  int spaceWidth = 1;         // n6
  int wideWidth = 1;          // n7
  bool humanReadable = true;  // n8
  // Which of the above a command has set since power-on (or ESC @); the others hold our guess
  // of the power-on values.
  bool lengthSet = false;
  bool widthSet = false;
  bool spaceWidthSet = false;
  bool wideWidthSet = false;
  bool humanReadableSet = false;
  ByteSpan bytes;
};

/// Applies ESC DLE A: `count` is its first byte, `parameters` the bytes after it (n1 ...). Returns
/// what the printer makes of it when it ignores the command or a part of it; empty otherwise.
std::string ApplyParameters(BarcodeSettings& settings, int count, std::string_view parameters);

/// The outcome of ESC DLE B: a barcode, or nothing with the reason.
struct DataOutcome {
  std::optional<Barcode> barcode;
  std::string note;
};

/// Reads the data of ESC DLE B as the printer encodes it with `settings`: "@" at the end asks for
/// a check digit, an odd 2 of 5 count gets a leading 0, the first Code 128 character picks the set.
DataOutcome ReadBarcodeData(const BarcodeSettings& settings, std::string_view data);

/// The symbol's printed width from its first bar to its last, by the printer's width tables.
double SymbolWidthInches(const Barcode& barcode);

/// The EAN/UPC/2 of 5 check digit of `digits`: weights 3, 1, 3 ... from the rightmost digit.
char Modulo10Check(std::string_view digits);

/// The Code 39 check character (sum of character values modulo 43); nothing for a character
/// outside the Code 39 set.
std::optional<char> Modulo43Check(std::string_view text);

}  // namespace quorvel::sheet
