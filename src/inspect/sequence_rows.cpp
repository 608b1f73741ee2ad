#include "inspect/sequence_rows.h"

#include <algorithm>
#include <cstdint>

#include "inspect/byte_names.h"

namespace quorvel::inspect {
namespace {

bool IsGlyph(std::optional<std::uint8_t> byte) {
  return !byte || (*byte > 0x20 && *byte <= 0x7E);
}

// Which steps print as characters run together ("1234567@") rather than as separate names.
// A space counts as a character only between two characters, as in "PLJ BARCODE".
std::vector<bool> CharacterSteps(const std::vector<SequenceStep>& steps) {
  std::vector<bool> glyph(steps.size());
  for (std::size_t k = 0; k < steps.size(); ++k) {
    glyph[k] = IsGlyph(steps[k].named) && IsGlyph(steps[k].sent);
  }
  std::vector<bool> character = glyph;
  for (std::size_t k = 1; k + 1 < steps.size(); ++k) {
    auto spaceOrGlyph = [](std::optional<std::uint8_t> b) {
      return !b || *b == 0x20 || IsGlyph(b);
    };
    if (!glyph[k] && spaceOrGlyph(steps[k].named) && spaceOrGlyph(steps[k].sent) && glyph[k - 1] &&
        glyph[k + 1]) {
      character[k] = true;
    }
  }
  return character;
}

std::string Token(std::optional<std::uint8_t> byte, bool character) {
  if (!byte) {
    return {};
  }
  if (*byte == 0x20) {
    return character ? " " : "SP";
  }
  return ByteName(*byte);
}

std::string Difference(const SequenceStep& step, std::size_t sentPosition) {
  const std::string position = std::to_string(sentPosition);
  if (step.named && step.sent) {
    return "! byte " + position + ": named " + DescribeByte(*step.named) + ", sent " +
           DescribeByte(*step.sent);
  }
  if (step.sent) {
    return "! byte " + position + ": sent " + DescribeByte(*step.sent) + ", not named";
  }
  return "! named " + DescribeByte(*step.named) + " after byte " + position + ", not sent";
}

void TrimRight(std::string& row) {
  row.erase(row.find_last_not_of(' ') + 1);
}

}  // namespace

std::string DescribeByte(std::uint8_t byte) {
  const std::string name =
      IsPrintable(byte) ? std::string("\"") + static_cast<char>(byte) + "\"" : ByteName(byte);
  return name + " (" + ByteValue(byte) + ")";
}

std::vector<std::string> SequenceRows(const SequenceCheck& check) {
  const std::vector<SequenceStep>& steps = check.steps;
  const std::vector<bool> character = CharacterSteps(steps);
  std::string named = "named  ";
  std::string sent = "sent   ";
  std::string marks = "       ";
  std::vector<std::string> differences;
  std::size_t sentPosition = 0;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const std::string separator = k > 0 && !(character[k - 1] && character[k]) ? " " : "";
    const std::string namedToken = Token(steps[k].named, character[k]);
    const std::string sentToken = Token(steps[k].sent, character[k]);
    const std::size_t width = std::max(namedToken.size(), sentToken.size());
    const char mark = !steps[k].Differs() ? ' '
                      : !steps[k].named   ? '+'
                      : !steps[k].sent    ? '-'
                                          : '^';
    sentPosition += steps[k].sent ? 1 : 0;
    named += separator + namedToken + std::string(width - namedToken.size(), ' ');
    sent += separator + sentToken + std::string(width - sentToken.size(), ' ');
    marks += separator + std::string(width, mark);
    if (steps[k].Differs()) {
      differences.push_back(Difference(steps[k], sentPosition));
    }
  }
  if (!check.found) {
    TrimRight(named);
    return {named, "sent   nothing: no command follows"};
  }
  std::vector<std::string> rows{named, sent, marks};
  for (std::string& row : rows) {
    TrimRight(row);
  }
  if (rows[2].empty()) {
    rows.pop_back();
  }
  rows.insert(rows.end(), differences.begin(), differences.end());
  return rows;
}

}  // namespace quorvel::inspect
