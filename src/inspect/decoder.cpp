#include <cstdint>

#include "inspect/byte_names.h"
#include "inspect/job_item.h"

namespace quorvel::inspect {
namespace {

constexpr char kEsc = '\x1B';
constexpr char kLineFeed = '\x0A';
// PJL's command prefix; the printer takes it in upper case only.
constexpr std::string_view kPjlPrefix = "@PJL";
constexpr std::string_view kUelName = "universal exit language";

Item SingleByte(ItemKind kind, std::string_view job, std::size_t at) {
  Item item;
  item.kind = kind;
  item.offset = at;
  item.bytes = std::string(1, job[at]);
  return item;
}

std::size_t TextRunEnd(std::string_view job, std::size_t at) {
  while (at < job.size() && IsPrintable(static_cast<std::uint8_t>(job[at]))) {
    ++at;
  }
  return at;
}

// "@PJL  ustatus job=on" -> "@PJL USTATUS": the prefix and the command word, upper case.
std::string PjlCommandWords(std::string_view line) {
  std::string words(kPjlPrefix);
  std::size_t i = kPjlPrefix.size();
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
    ++i;
  }
  std::string word;
  for (; i < line.size() && line[i] > ' ' && line[i] < 0x7F; ++i) {
    word += static_cast<char>(line[i] >= 'a' && line[i] <= 'z' ? line[i] - 0x20 : line[i]);
  }
  return word.empty() ? words : words + " " + word;
}

// The PJL command line at `at`, its line feed included (the job may end before one).
Item PjlLine(std::string_view job, std::size_t at) {
  const std::size_t feed = job.find(kLineFeed, at);
  const std::size_t end = feed == std::string_view::npos ? job.size() : feed + 1;
  Item item;
  item.kind = ItemKind::kJobControl;
  item.offset = at;
  item.bytes = std::string(job.substr(at, end - at));
  std::string_view line = std::string_view(item.bytes);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  item.code = QuoteBytes(line);
  item.name = "PJL job control";
  item.value = PjlCommandWords(line);
  if (feed == std::string_view::npos) {
    item.truncated = true;
    item.warning = "cut off: the job ends before the line feed that ends the command";
  }
  return item;
}

}  // namespace

bool IsUel(const Item& item) {
  return item.kind == ItemKind::kJobControl && item.name == kUelName;
}

Item ItemReader::Next() {
  if (pjl_ && job_.substr(at_).starts_with(kPjlPrefix)) {
    Item line = PjlLine(job_, at_);
    at_ += line.bytes.size();
    pjl_ = line.value != "@PJL ENTER";  // ENTER LANGUAGE: the page's language follows
    return line;
  }
  Item item = DecodeItemAt(job_, at_, dialect_);
  at_ += item.bytes.size();
  pjl_ = dialect_ == Dialect::kPcl && item.kind == ItemKind::kCommand && item.name == kUelName &&
         item.detail == "-12345";
  if (pjl_) {
    item.kind = ItemKind::kJobControl;
  }
  return item;
}

std::string_view DialectName(Dialect dialect) {
  return dialect == Dialect::kPcl ? "pcl" : "dot-matrix";
}

Item DecodeItemAt(std::string_view job, std::size_t at, Dialect dialect) {
  const auto byte = static_cast<std::uint8_t>(job[at]);
  if (IsPrintable(byte)) {
    const std::size_t end = TextRunEnd(job, at);
    Item text;
    text.offset = at;
    text.bytes = std::string(job.substr(at, end - at));
    return text;
  }
  if (job[at] == kEsc) {
    std::optional<Item> command =
        dialect == Dialect::kPcl ? DecodePclEscape(job, at) : DecodeDotMatrixEscape(job, at);
    return command ? std::move(*command) : SingleByte(ItemKind::kUnknownEscape, job, at);
  }
  return SingleByte(ItemKind::kControl, job, at);
}

std::vector<Item> DecodeItems(std::string_view job, Dialect dialect) {
  std::vector<Item> items;
  for (ItemReader reader(job, dialect); !reader.Done();) {
    items.push_back(reader.Next());
  }
  return items;
}

std::vector<JobLine> SplitLines(std::vector<Item> items) {
  std::vector<JobLine> lines;
  JobLine current;
  for (Item& item : items) {
    if (current.items.empty()) {
      current.offset = item.offset;
    }
    current.length += item.bytes.size();
    const bool endsLine = (item.kind == ItemKind::kControl && item.bytes[0] == kLineFeed) ||
                          (item.kind == ItemKind::kJobControl && item.bytes.back() == kLineFeed);
    current.items.push_back(std::move(item));
    if (endsLine) {
      current.number = lines.size() + 1;
      lines.push_back(std::move(current));
      current = JobLine{};
    }
  }
  if (!current.items.empty()) {
    current.number = lines.size() + 1;
    lines.push_back(std::move(current));
  }
  return lines;
}

Dialect GuessDialect(std::string_view job) {
  int pcl = 0;
  int dotMatrix = 0;
  bool shifts = false;
  for (std::size_t i = 0; i < job.size(); ++i) {
    if (job[i] == '\x0E' || job[i] == '\x0F') {
      shifts = true;
    }
    if (job[i] != kEsc || i + 1 >= job.size()) {
      continue;
    }
    const char next = job[i + 1];
    if (next == '(' || next == ')' || next == '&' || next == '*' || next == '%' || next == 'E') {
      ++pcl;
    } else if (next == '\x10' || next == '@' || next == 'k') {
      ++dotMatrix;
    }
  }
  if (pcl == dotMatrix) {
    return pcl == 0 && shifts ? Dialect::kPcl : Dialect::kDotMatrix;
  }
  return pcl > dotMatrix ? Dialect::kPcl : Dialect::kDotMatrix;
}

}  // namespace quorvel::inspect
