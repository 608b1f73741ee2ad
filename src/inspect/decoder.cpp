#include <cstdint>

#include "inspect/byte_names.h"
#include "inspect/job_item.h"

namespace quorvel::inspect {
namespace {

constexpr char kEsc = '\x1B';
constexpr char kLineFeed = '\x0A';

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

}  // namespace

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
  for (std::size_t at = 0; at < job.size();) {
    items.push_back(DecodeItemAt(job, at, dialect));
    at += items.back().bytes.size();
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
    const bool endsLine = item.kind == ItemKind::kControl && item.bytes[0] == kLineFeed;
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
