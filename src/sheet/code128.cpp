// Code 128 as the dot-matrix printers' barcode chapters give it: the first data byte names the
// code set (A, B or C), each set reads the bytes after it by its own table, a code-set change
// inside the data switches sets for the rest (SHIFT for one character), and the set's check
// code as the last byte asks for the check symbol (weighted sum with the start value, modulo
// 103). Each symbol value is drawn from the Code 128 module table: 3 bars and 3 spaces in 11
// modules, the stop 13.

#include <array>
#include <cstdint>

#include "sheet/symbol_data.h"

namespace quorvel::sheet {
namespace {

constexpr std::size_t kMaxCode128 = 50;

// Bar and space widths in modules (bar first) of symbol values 0 to 106; 106 is the stop with
// its termination bar.
constexpr std::array<const char*, 107> kPatterns{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int kShift = 98;
constexpr int kToC = 99;
constexpr int kStop = 106;

struct CodeSet {
  char letter;
  int start;   // value of the start symbol
  char check;  // the code that asks for the check symbol
  int toA, toB;  // the values that change to set A and set B; -1 where the set has none
};

constexpr std::array<CodeSet, 3> kSets{{{'A', 103, 'g', -1, 100},
                                        {'B', 104, '\x18', 101, -1},
                                        {'C', 105, '@', 101, 100}}};

const CodeSet* SetNamed(char letter) {
  for (const CodeSet& set : kSets) {
    if (set.letter == letter) {
      return &set;
    }
  }
  return nullptr;
}

// The symbol value of one byte in set A or B: A holds 00-5F (control codes first) and the
// function and change codes at 60-66; B holds 20-7F and the function and change codes at
// 19-1F. -1 for a byte the set does not hold.
int Value(char set, std::uint8_t c) {
  if (set == 'A') {
    return c < 0x20 ? c + 64 : c <= 0x5F ? c - 0x20 : c <= 0x66 ? c - 0x60 + 96 : -1;
  }
  return c >= 0x20 && c <= 0x7F ? c - 0x20 : c >= 0x19 && c <= 0x1F ? c - 0x19 + 96 : -1;
}

struct Reader {
  const CodeSet* set;
  std::vector<int> values;  // after the start symbol
  std::string text;
  bool shift = false;
};

// One character of set A or B; false when the set does not hold the byte.
bool ReadAOrB(Reader& reader, std::uint8_t c) {
  const char letter =
      reader.shift ? (reader.set->letter == 'A' ? 'B' : 'A') : reader.set->letter;
  const int value = Value(letter, c);
  if (value < 0) {
    return false;
  }
  reader.values.push_back(value);
  const bool wasShift = reader.shift;
  reader.shift = false;
  if (value < 96) {
    reader.text += letter == 'A' && value >= 64 ? static_cast<char>(value - 64)
                                                : static_cast<char>(value + 0x20);
  } else if (!wasShift && value == kShift) {
    reader.shift = true;
  } else if (!wasShift && (value == kToC || value == reader.set->toA || value == reader.set->toB)) {
    reader.set = SetNamed(value == kToC ? 'C' : value == reader.set->toA ? 'A' : 'B');
  }
  return true;
}

}  // namespace

std::string Code128(std::string_view data, Barcode& barcode) {
  if (data.empty() || data.size() > kMaxCode128) {
    return "takes 1 to 50 characters";
  }
  Reader reader{SetNamed(data[0]), {}, {}, false};
  if (reader.set == nullptr) {
    return "data must start with the code set, A, B or C";
  }
  barcode.codeSet = data[0];
  const int start = reader.set->start;
  bool askCheck = false;
  for (std::size_t i = 1; i < data.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(data[i]);
    if (i + 1 == data.size() && data[i] == reader.set->check) {
      askCheck = true;
    } else if (reader.set->letter != 'C') {
      if (!ReadAOrB(reader, c)) {
        return std::string("holds a byte that is no character of set ") + reader.set->letter;
      }
    } else if (c >= 0x3A && c <= 0x3C) {  // set C's change codes and FNC1 are single bytes
      const int value = c - 0x3A + 100;
      reader.values.push_back(value);
      reader.set = value == 102 ? reader.set : SetNamed(value == 100 ? 'B' : 'A');
    } else if (i + 1 < data.size() && c >= '0' && c <= '9' && data[i + 1] >= '0' &&
               data[i + 1] <= '9') {
      reader.values.push_back((c - '0') * 10 + (data[i + 1] - '0'));
      reader.text += data.substr(i, 2);
      ++i;
    } else {
      return "set C takes digit pairs";
    }
  }
  if (reader.text.empty()) {
    return "holds no characters";
  }
  int sum = start;
  for (std::size_t i = 0; i < reader.values.size(); ++i) {
    sum += static_cast<int>(i + 1) * reader.values[i];
  }
  barcode.data = reader.text;
  barcode.check = askCheck ? std::to_string(sum % 103) : std::string();
  barcode.symbols.clear();
  barcode.symbols.push_back(start);
  barcode.symbols.insert(barcode.symbols.end(), reader.values.begin(), reader.values.end());
  if (askCheck) {
    barcode.symbols.push_back(sum % 103);
  }
  barcode.symbols.push_back(kStop);
  return {};
}

std::string Code128Modules(const std::vector<int>& symbols) {
  std::string modules;
  for (const int value : symbols) {
    if (value < 0 || value > kStop) {
      continue;
    }
    const std::string_view widths = kPatterns[static_cast<std::size_t>(value)];
    for (std::size_t i = 0; i < widths.size(); ++i) {
      modules.append(static_cast<std::size_t>(widths[i] - '0'), i % 2 == 0 ? '1' : '0');
    }
  }
  return modules;
}

}  // namespace quorvel::sheet
