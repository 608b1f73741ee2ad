#include "inspect/sequence_check.h"

#include <algorithm>
#include <string_view>

#include "inspect/byte_names.h"

namespace quorvel::inspect {
namespace {

// Longer spellings are compared in part only: the alignment costs grow with their product.
constexpr std::size_t kMaxCompared = 512;
constexpr std::size_t kMaxContinuationLines = 3;
constexpr char kEsc = '\x1B';

bool IsPclStart(char c) {
  return c == '(' || c == ')' || c == '&' || c == '*' || c == '%';
}

// The text of a line made only of printable bytes, font shifts and its line end; nothing otherwise.
std::optional<std::string> TextOf(const JobLine& line) {
  std::string text;
  for (const Item& item : line.items) {
    if (item.kind == ItemKind::kText) {
      text += item.bytes;
    } else if (item.kind != ItemKind::kControl || item.bytes.find_first_of("\r\n\x0E\x0F") != 0) {
      return std::nullopt;
    }
  }
  return text;
}

// Where the spelled sequence starts: the word "ESC" on its own or directly followed by a PCL
// parameter character ("ESC(0Y"); not "ESC-Sequence:", which is a label.
std::optional<std::size_t> SpellingStart(std::string_view text) {
  for (std::size_t at = text.find("ESC"); at != std::string_view::npos;
       at = text.find("ESC", at + 1)) {
    const bool wordStart = at == 0 || text[at - 1] == ' ';
    const bool wordEnd = at + 3 == text.size() || text[at + 3] == ' ' || IsPclStart(text[at + 3]);
    if (wordStart && wordEnd) {
      return at;
    }
  }
  return std::nullopt;
}

void AppendWord(std::string_view word, bool& lastWasText, std::string& bytes) {
  if (const std::optional<std::uint8_t> byte = ByteFromName(word)) {
    bytes += static_cast<char>(*byte);
    lastWasText = false;
    return;
  }
  if (word.size() > 3 && word.starts_with("ESC") && IsPclStart(word[3])) {
    bytes += kEsc;
    word.remove_prefix(3);
  } else if (lastWasText) {
    bytes += ' ';
  }
  bytes += word;
  lastWasText = true;
}

// The bytes of the commands that start at the first command after line `from`, before the
// next spelled line: consecutive command items of one line.
std::optional<std::string> SentAfter(const std::vector<JobLine>& lines, std::size_t from) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    const std::optional<std::string> text = TextOf(lines[i]);
    if (text && SpellingStart(*text)) {
      return std::nullopt;
    }
    const std::vector<Item>& items = lines[i].items;
    auto first = std::find_if(items.begin(), items.end(),
                              [](const Item& item) { return item.kind == ItemKind::kCommand; });
    if (first == items.end()) {
      continue;
    }
    std::string sent;
    for (; first != items.end() && first->kind == ItemKind::kCommand; ++first) {
      sent += first->bytes;
    }
    return sent;
  }
  return std::nullopt;
}

}  // namespace

std::size_t SequenceCheck::Differences() const {
  if (!found) {
    return 0;
  }
  return static_cast<std::size_t>(std::count_if(
      steps.begin(), steps.end(), [](const SequenceStep& step) { return step.Differs(); }));
}

std::string SpelledBytes(const std::vector<std::string>& lines) {
  std::string bytes;
  bool lastWasText = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view text = lines[i];
    if (i + 1 == lines.size() && text.ends_with(':')) {
      text.remove_suffix(1);
    }
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t end = std::min(text.find(' ', at), text.size());
      if (end > at) {
        AppendWord(text.substr(at, end - at), lastWasText, bytes);
      }
      at = end + 1;
    }
  }
  return bytes;
}

std::vector<SequenceCheck> CheckSequences(const std::vector<JobLine>& lines) {
  std::vector<SequenceCheck> checks;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<std::string> text = TextOf(lines[i]);
    const std::optional<std::size_t> start = text ? SpellingStart(*text) : std::nullopt;
    if (!start) {
      continue;
    }
    SequenceCheck check;
    check.firstLine = check.lastLine = i;
    std::vector<std::string> spelled{text->substr(*start)};
    while (!spelled.back().ends_with(':') && spelled.size() <= kMaxContinuationLines &&
           check.lastLine + 1 < lines.size()) {
      const std::optional<std::string> next = TextOf(lines[check.lastLine + 1]);
      if (!next || next->empty() || SpellingStart(*next)) {
        break;
      }
      spelled.push_back(*next);
      ++check.lastLine;
    }
    check.named = SpelledBytes(spelled).substr(0, kMaxCompared);
    const std::optional<std::string> sent = SentAfter(lines, check.lastLine + 1);
    check.found = sent.has_value();
    check.sent = sent.value_or("").substr(0, kMaxCompared);
    check.steps = AlignBytes(check.named, check.sent);
    i = check.lastLine;
    checks.push_back(std::move(check));
  }
  return checks;
}

}  // namespace quorvel::inspect
