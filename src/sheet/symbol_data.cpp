#include "sheet/symbol_data.h"

#include <cstdint>

namespace quorvel::sheet {
namespace {

constexpr std::size_t kMaxCode128 = 50;

struct CodeSet {
  char letter;
  int start;   // value of the start symbol
  char check;  // the code that asks for the check symbol
};

constexpr CodeSet kSets[] = {{'A', 103, 'g'}, {'B', 104, '\x18'}, {'C', 105, '@'}};

// The symbol value of one character of set A or B; -1 for a function code or a byte the set
// does not hold.
int Value(char set, std::uint8_t c) {
  if (set == 'A') {
    return c < 0x20 ? c + 64 : c <= 0x5F ? c - 0x20 : -1;
  }
  return c >= 0x20 && c <= 0x7F ? c - 0x20 : -1;
}

std::string SetAOrB(const CodeSet& set, std::string_view text, int& sum) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int value = Value(set.letter, static_cast<std::uint8_t>(text[i]));
    if (value < 0) {
      return std::string("holds a byte that is no character of set ") + set.letter +
             " (function codes are not drawn)";
    }
    sum += static_cast<int>(i + 1) * value;
  }
  return {};
}

std::string SetC(std::string_view text, int& sum) {
  if (text.size() % 2 != 0) {
    return "set C takes digit pairs";
  }
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const char high = text[i];
    const char low = text[i + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') {
      return "set C takes digit pairs (function codes are not drawn)";
    }
    sum += static_cast<int>(i / 2 + 1) * ((high - '0') * 10 + (low - '0'));
  }
  return {};
}

}  // namespace

std::string ExpandUpcE(std::string_view d) {
  const std::string m(d.substr(0, 5));
  switch (d[5]) {
    case '0':
    case '1':
    case '2':
      return "0" + m.substr(0, 2) + d[5] + "0000" + m.substr(2, 3);
    case '3':
      return "0" + m.substr(0, 3) + "00000" + m.substr(3, 2);
    case '4':
      return "0" + m.substr(0, 4) + "00000" + m.substr(4, 1);
    default:
      return "0" + m + "0000" + d[5];
  }
}

std::string Code128(std::string_view data, Barcode& barcode) {
  if (data.empty() || data.size() > kMaxCode128) {
    return "takes 1 to 50 characters";
  }
  const CodeSet* set = nullptr;
  for (const CodeSet& candidate : kSets) {
    set = candidate.letter == data[0] ? &candidate : set;
  }
  if (set == nullptr) {
    return "data must start with the code set, A, B or C";
  }
  std::string_view text = data.substr(1);
  const bool askCheck = !text.empty() && text.back() == set->check;
  text = askCheck ? text.substr(0, text.size() - 1) : text;
  if (text.empty()) {
    return "holds no characters";
  }
  int sum = set->start;
  const std::string refusal = set->letter == 'C' ? SetC(text, sum) : SetAOrB(*set, text, sum);
  if (!refusal.empty()) {
    return refusal;
  }
  barcode.data = std::string(text);
  barcode.check = askCheck ? std::to_string(sum % 103) : std::string();
  return {};
}

}  // namespace quorvel::sheet
