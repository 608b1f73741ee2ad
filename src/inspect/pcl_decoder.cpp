// PCL escape sequences by the language's general grammar:
//   ESC X            two-character command, X from "0" to "~" (ESC E: printer reset)
//   ESC P G v p ...  parameterised command: P from "!" to "/", an optional group character G
//                    from "`" to "~", then value fields v (sign, digits, decimal point), each ended
//                    by a parameter character p: lower case continues the command, upper case
//                    ends it. A "W" parameter (and ESC & p # X) carries v bytes of binary data.
//   ESC ( id, ESC ) id  symbol-set designation of the primary / secondary font, e.g. ESC ( 10U.

#include <cstdint>
#include <string>

#include "inspect/byte_names.h"
#include "inspect/job_item.h"
#include "inspect/pcl_names.h"

namespace quorvel::inspect {
namespace {

constexpr std::size_t kMaxValueLength = 32;

bool IsGroup(char c) {
  return c >= '`' && c <= '~';
}
bool IsFinal(char c) {
  return c >= '@' && c <= '^';
}
bool IsParameterised(char c) {
  return c >= '!' && c <= '/';
}

struct Field {
  std::string value;
  char parameter = 0;  // as sent: lower case when more fields follow
};

// Reads one value field at `at`; nothing when the bytes do not form one.
std::optional<Field> ReadField(std::string_view job, std::size_t& at) {
  Field field;
  const std::size_t start = at;
  if (at < job.size() && (job[at] == '+' || job[at] == '-')) {
    ++at;
  }
  while (at < job.size() && ((job[at] >= '0' && job[at] <= '9') || job[at] == '.') &&
         at - start < kMaxValueLength) {
    ++at;
  }
  if (at >= job.size() || !(IsGroup(job[at]) || IsFinal(job[at]))) {
    return std::nullopt;
  }
  field.value = std::string(job.substr(start, at - start));
  field.parameter = job[at++];
  return field;
}

// The byte count a data-carrying field announces, bounded by what is left of the job.
std::size_t DataLength(const Field& field) {
  std::size_t length = 0;
  for (const char c : field.value) {
    if (c == '.') {
      break;
    }
    if (c >= '0' && c <= '9') {
      length = length > 100'000'000 ? length : length * 10 + static_cast<std::size_t>(c - '0');
    }
  }
  return field.value.starts_with('-') ? 0 : length;
}

struct Part {
  std::string label;
  std::string value;
};

Part Describe(char parameterised, char group, const Field& field) {
  const char upper = static_cast<char>(field.parameter & ~0x20);
  const std::string_view name = PclCommandName(parameterised, group, upper);
  const std::string value = field.value.empty() ? "0" : field.value;
  if (!name.empty()) {
    return {std::string(name), value};
  }
  std::string key(1, parameterised);
  if (group != 0) {
    key += group;
  }
  return {"parameter " + key + upper, value};
}

void NameCommand(Item& item, const std::vector<Part>& parts) {
  if (parts.size() == 1) {
    item.name = parts[0].label;
    item.detail = parts[0].value;
    return;
  }
  item.name = "combined command";
  for (const Part& part : parts) {
    item.detail += (item.detail.empty() ? "" : "; ") + part.label + " " + part.value;
  }
}

Item Designation(std::string_view job, std::size_t at, std::size_t end, bool primary) {
  Item item;
  item.kind = ItemKind::kCommand;
  item.offset = at;
  item.bytes = std::string(job.substr(at, end - at));
  item.code = QuoteBytes(item.bytes);
  item.name = primary ? "primary symbol set" : "secondary symbol set";
  item.value = item.bytes.substr(2);
  const std::string_view setName = SymbolSetName(item.value);
  item.detail = item.value + (setName.empty() ? "" : ", " + std::string(setName));
  return item;
}

void TakeData(std::string_view job, std::size_t& at, std::size_t length, Item& item) {
  const std::size_t available = job.size() - at;
  if (length > available) {
    item.truncated = true;

    item.warning = "cut off: the job ends " + std::to_string(length - available) + " of " +
                   std::to_string(length) + " data bytes early";
    length = available;
  }
  at += length;
}

// The value fields of a parameterised command, from `next` on, with any binary data they carry.
std::optional<Item> FieldsCommand(std::string_view job, std::size_t at, std::size_t next,
                                  char group) {
  const char parameterised = job[at + 1];
  Item item;
  item.kind = ItemKind::kCommand;
  item.offset = at;
  std::size_t codeEnd = next;
  std::vector<Part> parts;
  for (bool more = true; more;) {
    const std::optional<Field> field = ReadField(job, next);
    if (!field) {
      return std::nullopt;
    }
    codeEnd = next;
    parts.push_back(Describe(parameterised, group, *field));
    const char upper = static_cast<char>(field->parameter & ~0x20);
    if (upper == 'W' || (parameterised == '&' && group == 'p' && upper == 'X')) {
      const std::size_t dataStart = next;
      TakeData(job, next, DataLength(*field), item);
      parts.back().value += " (" + std::to_string(next - dataStart) + " data bytes)";
    }
    more = IsGroup(field->parameter);
    if (more && next >= job.size()) {
      item.truncated = true;

      item.warning = "cut off: the job ends inside the command";
      more = false;
    }
  }
  item.bytes = std::string(job.substr(at, next - at));
  item.code = QuoteBytes(job.substr(at, codeEnd - at));
  NameCommand(item, parts);
  return item;
}

std::optional<Item> Parameterised(std::string_view job, std::size_t at) {
  const char parameterised = job[at + 1];
  std::size_t next = at + 2;
  char group = 0;
  if (next < job.size() && IsGroup(job[next])) {
    group = job[next++];
  } else if (parameterised == '(' || parameterised == ')') {
    const std::size_t start = next;
    const std::optional<Field> id = ReadField(job, next);
    if (!id || !IsFinal(id->parameter) || next == start + 1) {
      return std::nullopt;
    }
    return Designation(job, at, next, parameterised == '(');
  }
  return FieldsCommand(job, at, next, group);
}

}  // namespace

std::optional<Item> DecodePclEscape(std::string_view job, std::size_t at) {
  if (at + 1 >= job.size()) {
    return std::nullopt;
  }
  const char second = job[at + 1];
  if (second >= '0' && second <= '~') {
    Item item;
    item.kind = ItemKind::kCommand;
    item.offset = at;
    item.bytes = std::string(job.substr(at, 2));
    item.code = QuoteBytes(item.bytes);
    const std::string_view name = PclTwoCharacterName(second);
    item.name = name.empty() ? "two-character command" : std::string(name);
    return item;
  }
  if (IsParameterised(second)) {
    return Parameterised(job, at);
  }
  return std::nullopt;
}

}  // namespace quorvel::inspect
