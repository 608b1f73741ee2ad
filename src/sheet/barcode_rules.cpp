// The dot-matrix barcode commands of IBM/Epson-emulation printers, as their reference manuals
// give them (docs/sheet.md lists the pages):
//   ESC DLE A p1 n1..n8: p1 parameters follow; 0, 1 and 3 make the command invalid, parameters
//     beyond n8 are ignored. n1 n2 pick the type (low half-bytes), n3 * 10 + n4 the bar length in
//     15/180 inch (0 keeps the current one, 25 and more give 24), n5 the width (1 to 7), n6 and
//     n7 the space and wide-bar widths of Code 39 and 2 of 5, n8 the human-readable line.
//   ESC DLE B m data: m data characters; a check code at the end asks for the check digit.

#include "sheet/barcode_rules.h"

#include <algorithm>
#include <array>

#include "sheet/glyph_tables.h"
#include "sheet/guesses.h"
#include "sheet/symbol_data.h"

namespace quorvel::sheet {
namespace {

constexpr double kUnit = 1.0 / 360;  // the width tables' unit
constexpr double kLengthUnit = 15.0 / 180;
constexpr int kMaxLength = 24;

// Width of one character by n5, in 1/360 inch: EAN/UPC characters are 7 modules wide, Code 128
// characters 11.
constexpr std::array<int, 7> kEanUpcCharacter{40, 49, 70, 84, 105, 119, 140};
constexpr std::array<int, 7> kCode128Character{64, 77, 110, 132, 165, 187, 220};
constexpr std::array<int, 7> kCode128Stop{71, 88, 127, 153, 192, 218, 257};
// Code 39 and 2 of 5: the narrow bar by n5, and the wide bar by n7 (rows) and n5 (columns).
constexpr std::array<int, 7> kNarrowBar{3, 4, 7, 9, 12, 14, 17};
constexpr std::array<std::array<int, 7>, 7> kWideBar{{{9, 11, 17, 21, 27, 31, 37},
                                                      {11, 14, 22, 27, 32, 39, 47},
                                                      {14, 18, 27, 33, 42, 48, 57},
                                                      {17, 21, 32, 39, 49, 56, 67},
                                                      {21, 25, 36, 45, 57, 65, 77},
                                                      {23, 28, 41, 51, 64, 73, 87},
                                                      {26, 32, 47, 57, 72, 82, 97}}};

// EAN/UPC and Code 128: bars and spaces of 1, 2, 3 and 4 modules by n5.
constexpr std::array<std::array<int, 4>, 7> kModuleBar{{{3, 9, 13, 19},
                                                        {4, 11, 18, 25},
                                                        {7, 17, 27, 37},
                                                        {9, 21, 33, 45},
                                                        {12, 27, 42, 57},
                                                        {14, 31, 48, 65},
                                                        {17, 37, 57, 77}}};
constexpr std::array<std::array<int, 4>, 7> kModuleSpace{{{9, 14, 19, 24},
                                                          {10, 17, 24, 31},
                                                          {13, 23, 33, 43},
                                                          {15, 27, 39, 51},
                                                          {18, 33, 48, 63},
                                                          {20, 37, 54, 71},
                                                          {23, 43, 63, 83}}};
// Code 39 and 2 of 5: the narrow space by n6 (the 24-pin chapter's own table).
constexpr std::array<int, 7> kNarrowSpace{8, 10, 13, 15, 18, 20, 23};

constexpr std::string_view kCode39Characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr std::size_t kMaxVariableLength = 50;

std::optional<Symbology> TypeOf(int n1, int n2) {
  switch (n1 * 16 + n2) {
    case 0x01:
      return Symbology::kEan8;
    case 0x02:
      return Symbology::kEan13;
    case 0x10:
      return Symbology::kUpcA;
    case 0x14:
      return Symbology::kUpcE;
    case 0x20:
      return Symbology::kCode39;
    case 0x30:
      return Symbology::kInterleaved2of5;
    case 0x40:
      return Symbology::kCode128;
    default:
      return std::nullopt;
  }
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void SetModuleWidths(std::size_t n5, Barcode& barcode) {
  for (std::size_t i = 0; i < 4; ++i) {
    barcode.barWidths[i] = kModuleBar[n5][i] * kUnit;
    barcode.spaceWidths[i] = kModuleSpace[n5][i] * kUnit;
  }
}

void SetSize(const BarcodeSettings& settings, Barcode& barcode) {
  const auto n5 = static_cast<std::size_t>(settings.width - 1);
  const auto n6 = static_cast<std::size_t>(settings.spaceWidth - 1);
  const auto n7 = static_cast<std::size_t>(settings.wideWidth - 1);
  barcode.heightInches = settings.length * kLengthUnit;
  // Every width table gives a space of n elements wider than the bar of n elements by the same
  // 6/360 inch: the ink the printer expects each bar to spread (approximate).
  barcode.inkInches = (kModuleSpace[n5][0] - kModuleBar[n5][0]) / 2.0 * kUnit;
  barcode.humanReadable = settings.humanReadable;
  Guesses& guesses = barcode.approximate;
  if (!settings.lengthSet) {
    guesses.push_back(PowerOnGuess("the bar length", "0.5 in"));
  }
  if (!settings.widthSet) {
    guesses.push_back(PowerOnGuess("the width n5", "1 (the narrowest)"));
  }
  if (!settings.humanReadableSet) {
    guesses.push_back(PowerOnGuess("the human-readable line", "on"));
  }
  switch (settings.symbology) {
    case Symbology::kCode39:
    case Symbology::kInterleaved2of5:
      if (!settings.spaceWidthSet) {
        guesses.push_back(PowerOnGuess("the space width n6", "1 (the narrowest)"));
      }
      if (!settings.wideWidthSet) {
        guesses.push_back(PowerOnGuess("the wide-bar width n7", "1 (the narrowest)"));
      }
      guesses.emplace_back(kWideSpaceGuess);
      barcode.moduleInches = kNarrowBar[n5] * kUnit;
      barcode.wideInches = kWideBar[n7][n5] * kUnit;
      barcode.spaceInches = kNarrowSpace[n6] * kUnit;
      // No stored manual gives the wide space: the wide bar of n7 and n6, widened as much as
      // the narrow space is wider than the narrow bar of n6 (approximate).
      barcode.wideSpaceInches = (kWideBar[n7][n6] + kNarrowSpace[n6] - kNarrowBar[n6]) * kUnit;
      break;
    case Symbology::kCode128:
      barcode.moduleInches = kCode128Character[n5] * kUnit / 11;
      barcode.stopInches = kCode128Stop[n5] * kUnit;
      SetModuleWidths(n5, barcode);
      break;
    default:
      barcode.moduleInches = kEanUpcCharacter[n5] * kUnit / 7;
      barcode.guardInches = 10.0 / 180;
      SetModuleWidths(n5, barcode);
  }
  guesses.emplace_back(kInkGuess);
  if (n5 == 0) {
    guesses.emplace_back(kNarrowestGuess);
  }
}

// EAN-8, EAN-13, UPC-A: exactly `length` characters, digits, the last one may be "@".
std::string FixedLength(std::string_view data, std::size_t length, Barcode& barcode) {
  if (data.size() != length) {
    return "needs " + std::to_string(length) + " characters, the check code included; got " +
           std::to_string(data.size());
  }
  const bool askCheck = data.back() == '@';
  const std::string_view digits = askCheck ? data.substr(0, length - 1) : data;
  if (!AllDigits(digits)) {
    return "takes the digits 0 to 9 only";
  }
  barcode.data = std::string(digits);
  if (askCheck) {
    barcode.check = std::string(1, Modulo10Check(digits));
    barcode.data += barcode.check;
  }
  return {};
}

std::string UpcE(std::string_view data, Barcode& barcode) {
  if (data.size() != 6 || !AllDigits(data)) {
    return "UPC-E takes exactly 6 digits and no check code";
  }
  barcode.approximate.emplace_back(kUpcEGuess);
  // Number system 0; the check digit is not a bar character but sets the parity pattern, so the
  // symbol carries it: the check digit of the UPC-A number the 6 digits stand for.
  barcode.check = std::string(1, Modulo10Check(ExpandUpcE(data)));
  barcode.data = "0" + std::string(data) + barcode.check;
  // "No calculation takes place for UPC-E, it does not print the checksum" (MICROLINE 3390,
  // C-11): the line under the bars is the number without it, and starts at the print position.
  barcode.humanText = "0" + std::string(data);
  return {};
}

std::string Code39(std::string_view data, Barcode& barcode) {
  const bool askCheck = !data.empty() && data.back() == '@';
  const std::string_view text = askCheck ? data.substr(0, data.size() - 1) : data;
  if (data.empty() || data.size() > kMaxVariableLength) {
    return "Code 39 takes 1 to 50 characters";
  }
  const std::optional<char> check = Modulo43Check(text);
  if (!check) {
    return "Code 39 takes 0-9, A-Z, space and - . $ / + % only";
  }
  barcode.data = std::string(text);
  if (askCheck) {
    barcode.check = std::string(1, *check);
    barcode.data += barcode.check;
  }
  return {};
}

std::string Interleaved(std::string_view data, Barcode& barcode) {
  const bool askCheck = !data.empty() && data.back() == '@';
  const std::string_view digits = askCheck ? data.substr(0, data.size() - 1) : data;
  if (data.empty() || data.size() > kMaxVariableLength || !AllDigits(digits)) {
    return "Interleaved 2 of 5 takes 1 to 50 digits";
  }
  barcode.data = std::string(digits);
  if (askCheck) {
    barcode.check = std::string(1, Modulo10Check(digits));
    barcode.data += barcode.check;
  }
  if (barcode.data.size() % 2 != 0) {
    barcode.data.insert(0, "0");  // the printer's leading 0 for an odd count
  }
  return {};
}

}  // namespace

double SymbolWidthInches(const Barcode& barcode) {
  const double narrow = barcode.moduleInches;
  const double wide = barcode.wideInches;
  const double space = barcode.spaceInches;
  const double wideSpace = barcode.wideSpaceInches;
  const auto characters = static_cast<double>(barcode.data.size());
  switch (barcode.symbology) {
    case Symbology::kEan8:
      return 67 * narrow;  // guards 3 + 5 + 3 modules, 8 characters of 7
    case Symbology::kEan13:
    case Symbology::kUpcA:
      return 95 * narrow;  // guards 3 + 5 + 3, 12 characters of 7
    case Symbology::kUpcE:
      return 51 * narrow;  // guards 3 + 6, 6 characters of 7
    case Symbology::kCode39: {
      // Start, data and stop characters of 9 elements each, a narrow space between characters.
      double width = (characters + 1) * space;
      for (const char c : "*" + barcode.data + "*") {
        const std::string_view pattern = Code39Pattern(c);
        for (std::size_t i = 0; i < pattern.size(); ++i) {
          const bool bar = i % 2 == 0;
          width += pattern[i] == '1' ? (bar ? wide : wideSpace) : (bar ? narrow : space);
        }
      }
      return width;
    }
    case Symbology::kInterleaved2of5:
      // Start: narrow bar, space, bar, space; each pair of digits 3 narrow and 2 wide bars and
      // spaces; stop: wide bar, narrow space, narrow bar.
      return 2 * (narrow + space) +
             characters / 2 * (3 * narrow + 2 * wide + 3 * space + 2 * wideSpace) + wide + space +
             narrow;
    case Symbology::kCode128:
      break;
  }
  // Every symbol before the stop is one character width (11 modules), the stop its own.
  const double symbols = barcode.symbols.empty() ? 0 : barcode.symbols.size() - 1.0;
  return symbols * 11 * narrow + barcode.stopInches;
}

char Modulo10Check(std::string_view digits) {
  int sum = 0;
  int weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += (*it - '0') * weight;
    weight = 4 - weight;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::optional<char> Modulo43Check(std::string_view text) {
  int sum = 0;
  for (const char c : text) {
    const std::size_t value = kCode39Characters.find(c);
    if (value == std::string_view::npos) {
      return std::nullopt;
    }
    sum += static_cast<int>(value);
  }
  return kCode39Characters[static_cast<std::size_t>(sum % 43)];
}

std::string ApplyParameters(BarcodeSettings& settings, int count, std::string_view parameters) {
  count &= 0x0F;  // the printer ignores the upper half-byte of the count and of each parameter
  if (count == 0 || count == 1 || count == 3) {
    return "a parameter count of " + std::to_string(count) + " is invalid: command ignored";
  }
  std::array<int, 8> n{};
  for (std::size_t i = 0; i < n.size() && i < parameters.size(); ++i) {
    n[i] = static_cast<unsigned char>(parameters[i]) & 0x0F;
  }
  const std::optional<Symbology> type = TypeOf(n[0], n[1]);
  if (!type) {
    return "no barcode type " + std::to_string(n[0]) + " " + std::to_string(n[1]) +
           ": command ignored";
  }
  BarcodeSettings next = settings;
  next.selected = true;
  next.symbology = *type;
  std::string note;
  const int length = n[2] * 10 + n[3];
  if (count >= 4 && length > 0) {
    next.length = std::min(length, kMaxLength);
    next.lengthSet = true;
    note = length > kMaxLength ? "bar length " + std::to_string(length) + " is cut to 24" : "";
  }
  auto take = [](bool given, int value, int& field, bool& set) {
    if (given && value >= 1 && value <= 7) {
      field = value;
      set = true;
    }
  };
  take(count >= 5, n[4], next.width, next.widthSet);
  take(count >= 6, n[5], next.spaceWidth, next.spaceWidthSet);
  take(count >= 7, n[6], next.wideWidth, next.wideWidthSet);
  if (count >= 8) {
    next.humanReadable = n[7] != 0;
    next.humanReadableSet = true;
  }
  settings = next;
  return note;
}

DataOutcome ReadBarcodeData(const BarcodeSettings& settings, std::string_view data) {
  if (!settings.selected) {
    return {std::nullopt, "no barcode type selected (ESC DLE A): nothing printed"};
  }
  Barcode barcode;
  barcode.symbology = settings.symbology;
  barcode.settings = settings.bytes;
  SetSize(settings, barcode);
  std::string refusal;
  switch (settings.symbology) {
    case Symbology::kEan8:
      refusal = FixedLength(data, 8, barcode);
      break;
    case Symbology::kEan13:
      refusal = FixedLength(data, 13, barcode);
      break;
    case Symbology::kUpcA:
      refusal = FixedLength(data, 12, barcode);
      break;
    case Symbology::kUpcE:
      refusal = UpcE(data, barcode);
      break;
    case Symbology::kCode39:
      refusal = Code39(data, barcode);
      break;
    case Symbology::kInterleaved2of5:
      refusal = Interleaved(data, barcode);
      break;
    case Symbology::kCode128:
      refusal = Code128(data, barcode);
      break;
  }
  if (!refusal.empty()) {
    return {std::nullopt, SymbologyName(settings.symbology) + " " + refusal + ": nothing printed"};
  }
  barcode.widthInches = SymbolWidthInches(barcode);
  return {barcode, {}};
}

}  // namespace quorvel::sheet
